// The terminal view: the child window that draws the screen buffer through a back buffer,
// scrolls over its lines, follows the cursor, repaints on a timer when the buffer changed,
// and hands keys and commands to its parent.
#pragma once

#include "viewdata.h"
#include "window.h"

#include <memory>

class CTarlinView : public CMyWindow {
public:
    // logoBitmap: the bitmap shown behind the text; refreshCommand: the command posted to the
    // parent at every tick of the timer.
    CTarlinView(unsigned int logoBitmap, unsigned int refreshCommand);
    ~CTarlinView() override;
    CTarlinView(const CTarlinView&) = delete;
    CTarlinView& operator=(const CTarlinView&) = delete;

    void SetData(ITerminalViewData* data) { m_data = data; }

    LRESULT OnChar(char c, unsigned long data) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCreate(CREATESTRUCTW* create) override;
    LRESULT OnDestroy() override;
    LRESULT OnEraseBkgnd(void* dc) override;
    LRESULT OnHScroll(unsigned short code, unsigned short pos, void* control) override;
    LRESULT OnKeyUp(WPARAM key, LPARAM data) override;
    LRESULT OnLButtonDown(WPARAM keys, int x, int y) override;
    LRESULT OnMouseWheel(unsigned short keys, int delta, int x, int y) override;
    LRESULT OnPaint(void* dc) override;
    LRESULT OnTimer(WPARAM id, TIMERPROC procedure) override;
    LRESULT OnVScroll(unsigned short code, unsigned short pos, void* control) override;

    // Places the view below top and above bottom pixels of the parent's client area.
    virtual void FitToParent(int top, int bottom);

    // Height of the dashed docking frame at the bottom edge; 0 hides it.
    void ShowDockFrame(int height);

    int GetLineHeight() const { return m_lineHeight; }

    static constexpr int kTimerMs = 120;

private:
    class Surface;

    void Scroll(int bar, int code, int thumb, int step);
    void FollowCursor(int row);
    void SetPosition(int bar, int position);
    void InvalidateAll();
    void MeasureLineHeight(HDC dc);
    void DrawBackground(HDC dc, const RECT& client);
    void DrawLines(HDC dc, const RECT& client, int firstLine, int firstColumn);
    void DrawMixedLine(HDC dc, CStdBuffer& buffer, int row, RECT line, int savedMode);
    void DrawUniformLine(HDC dc, CStdBuffer& buffer, int row, RECT line);
    void DrawDockFrame(HDC dc, const RECT& client);

    ITerminalViewData* m_data = nullptr;
    std::unique_ptr<Surface> m_back;
    std::unique_ptr<Surface> m_logo;
    int m_lineHeight = 15;
    int m_dockFrameHeight = 0;
    unsigned int m_logoBitmap;
    unsigned int m_refreshCommand;
    unsigned int m_timerId = 0;
    int m_fontReferenced = 0;
};
