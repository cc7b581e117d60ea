// What the terminal shows and how: bars, escape modes, hexadecimal display, scrolling, echo,
// clearing, the character counters and the options for clearing at disconnect.
#include "mainview_win32.h"

#include "clearoptionsdialog_win32.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

void CMainView::ToggleToolbar() {
    m_toolbar.Toggle();
    Layout();
    CheckCommand(IDM_TOOLBAR, m_toolbar.IsVisible() == 1);
}

void CMainView::ToggleStatusbar() {
    m_statusbar.Toggle();
    Layout();
    CheckCommand(IDM_STATUSBAR, m_statusbar.IsVisible() == 1);
}

void CMainView::ToggleAnsi() {
    m_data->SetES(m_data->GetES() == kEscapeAnsi ? kEscapeNone : kEscapeAnsi);
    CheckCommand(IDM_ANSI_ES, m_data->GetES() == kEscapeAnsi);
    CheckCommand(IDM_VANTOR_ES, false);
}

void CMainView::ToggleVantor() {
    m_data->SetES(m_data->GetES() == kEscapeMaker ? kEscapeNone : kEscapeMaker);
    CheckCommand(IDM_ANSI_ES, false);
    CheckCommand(IDM_VANTOR_ES, m_data->GetES() == kEscapeMaker);
}

void CMainView::ToggleHexOutput() {
    m_data->SetHexOutput(m_data->GetHexOutput() == 1 ? 0 : 1);
    CheckEscapeModes();
}

// The escape modes mean nothing while bytes show in hexadecimal.
void CMainView::CheckEscapeModes() {
    const bool hex = m_data->GetHexOutput() == 1;
    CheckCommand(IDM_HEX_OUTPUT, hex);
    EnableMenuItem(IDM_ANSI_ES, hex ? 0 : 1);
    EnableMenuItem(IDM_VANTOR_ES, hex ? 0 : 1);
    CheckCommand(IDM_ANSI_ES, !hex && m_data->GetES() == kEscapeAnsi);
    CheckCommand(IDM_VANTOR_ES, !hex && m_data->GetES() == kEscapeMaker);
}

void CMainView::ToggleAutoScroll() {
    m_data->SetAutoScroll(m_data->GetAutoScroll() == 1 ? 0 : 1);
    CheckCommand(IDM_AUTO_SCROLL, m_data->GetAutoScroll() == 1);
}

void CMainView::ToggleEcho() {
    m_data->SetEcho(m_data->GetEcho() == 1 ? 0 : 1);
    CheckCommand(IDM_ECHO, m_data->GetEcho() == 1);
}

void CMainView::ClearScreen() {
    m_data->ClearScreen();
}

void CMainView::ResetCounters() {
    m_data->GetPort().ResetCounters();
}

void CMainView::ResetReceivedCounter() {
    m_data->GetPort().ResetBytesReceived();
}

void CMainView::ResetSentCounter() {
    m_data->GetPort().ResetBytesSent();
}

// The blanks make a shorter count overwrite a longer one.
void CMainView::RefreshCounters() {
    if (m_data == nullptr) return;
    CDynString text;
    text.Format("Odesláno: %u                          ", m_data->GetPort().GetBytesSent());
    m_statusbar.SetText(0, text.GetString());
    text.Format("Přijato: %u                           ", m_data->GetPort().GetBytesReceived());
    m_statusbar.SetText(1, text.GetString());
}

void CMainView::ShowDisconnectOptions() {
    CClearOptionsDialog options(m_hWnd, m_data);
    options.Create(" Tarlin ", 0, m_hWnd, 0, 0, 0, nullptr);
    options.ShowModalDialog();
}
