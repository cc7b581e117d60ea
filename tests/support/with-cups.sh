#!/usr/bin/env bash
# Runs a command with a CUPS daemon of its own: configuration, spool, socket and one PDF
# printer, all in a fresh folder, for this run only. The printer ("TarlinPDF", the default)
# writes its PDF files into FOLDER/out; the command gets CUPS_SERVER and TARLIN_PDF_OUT.
#
#   with-cups.sh FOLDER COMMAND...
#
# The PDF backend reads its settings only from /etc/cups/cups-pdf-<name>.conf, so the daemon
# runs in a private mount namespace in which FOLDER/etc stands in for /etc/cups; nothing
# outside that namespace changes.
set -euo pipefail
folder=$1
shift
rm -rf "$folder"
mkdir -p "$folder"/{etc/ppd,spool/tmp,cache,state,log,out}
chmod 1777 "$folder/spool/tmp" "$folder/out"

cat >"$folder/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $folder/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$folder/etc/cups-files.conf" <<CONF
ServerRoot $folder/etc
RequestRoot $folder/spool
TempDir $folder/spool/tmp
CacheDir $folder/cache
StateDir $folder/state
AccessLog $folder/log/access_log
ErrorLog $folder/log/error_log
PageLog $folder/log/page_log
Sandboxing Relaxed
CONF
cat >"$folder/etc/cups-pdf-tarlin.conf" <<CONF
Out $folder/out
AnonDirName $folder/out
Spool $folder/spool/pdf
Log $folder/log
CONF

namespace=(unshare --mount --propagation private)
[ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-root-user --mount --propagation private)
"${namespace[@]}" sh -c 'mount --bind "$1/etc" /etc/cups && exec cupsd -f -c "$1/etc/cupsd.conf" -s "$1/etc/cups-files.conf"' \
    cupsd "$folder" </dev/null >"$folder/log/cupsd.out" 2>&1 &
daemon=$!
stop() { kill "$daemon" 2>/dev/null || true; wait "$daemon" 2>/dev/null || true; }
trap stop EXIT

export CUPS_SERVER=$folder/cups.sock
for _ in $(seq 100); do
    [ -S "$CUPS_SERVER" ] && lpstat -r >/dev/null 2>&1 && break
    kill -0 "$daemon" 2>/dev/null || { cat "$folder/log/cupsd.out" >&2; exit 1; }
    sleep 0.1
done
lpadmin -p TarlinPDF -v cups-pdf:/tarlin -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E \
    2>/dev/null
lpadmin -d TarlinPDF
export TARLIN_PDF_OUT=$folder/out
"$@"
