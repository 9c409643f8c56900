#!/usr/bin/env bash
# A private CUPS server with one CUPS-PDF queue, for the Wine lanes: the printer the program sees
# under Wine.
#
#   cups.sh start <folder>   starts cupsd with its configuration, spool, cache, logs and socket
#                            under <folder>, adds the queue and prints the lines to eval:
#                              export CUPS_SERVER=localhost:<its port>
#                              export TAMUX_CUPS_QUEUE=TamuxPDF
#                              export TAMUX_CUPS_PDF_DIR=<folder>/pdf
#   cups.sh env <folder>     prints the same lines for a server that runs already
#   cups.sh paper-names <folder>
#                            prints the queue's paper forms as a Windows driver names them: the
#                            PageSize choices that lpoptions -l lists, in its order, each by the
#                            text its PPD gives the choice (the keyword when it gives none); the
#                            custom size is no form
#   cups.sh stop <folder>    stops that server and removes what it put outside <folder>
#
# The server listens only on a socket in <folder> and on a loopback port of its own, never on the
# system's; nothing of the system's CUPS configuration is read or changed. Wine reads printers
# through libcups, which asks the server named by CUPS_SERVER: with that variable exported, a Wine
# prefix lists the queue as a local printer and wineps reads its paper forms from the queue's
# PPD. CUPS_SERVER names the port, not the socket: libcups fetches a PPD from the host and port in
# the printer's URI, and a server asked through a socket gives URIs without port, which libcups
# then takes for the system's port 631.
#
# Printed jobs become PDF files in <folder>/pdf. The CUPS-PDF backend only reads its settings from
# /etc/cups (cups-pdf-<name>.conf for a device URI "cups-pdf:/<name>"), so start writes one such
# file, with a name unique to <folder>, and stop removes it. The backend and cupsd need root.
set -euo pipefail

queue=TamuxPDF
# The CUPS-PDF driver as cups-driverd lists it (lpinfo -m), from Debian's printer-driver-cups-pdf.
model=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

usage() {
    echo "usage: $0 start|env|paper-names|stop <folder>" >&2
    exit 2
}

[ $# -eq 2 ] || usage
action=$1
mkdir -p "$2"
folder=$(cd "$2" && pwd)
socket=$folder/cups.sock
pid_file=$folder/cupsd.pid
pdf_dir=$folder/pdf
# The backend's settings file, named after the folder so that two servers never share one.
tag=tamux-$(printf '%s' "$folder" | md5sum | cut -c1-12)
backend_conf=/etc/cups/cups-pdf-$tag.conf

print_env() {
    echo "export CUPS_SERVER=localhost:$(cat "$folder/port")"
    echo "export TAMUX_CUPS_QUEUE=$queue"
    echo "export TAMUX_CUPS_PDF_DIR=$pdf_dir"
}

# A loopback TCP port that nothing listens on now.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

running() {
    [ -f "$pid_file" ] && kill -0 "$(cat "$pid_file")" 2>/dev/null
}

write_configuration() {
    mkdir -p "$folder/etc/ppd" "$folder/spool/tmp" "$folder/cache" "$folder/state" "$folder/log" \
        "$pdf_dir" "$folder/cups-pdf-spool"
    # Filters run as the unprivileged user lp: they must reach the spooled files.
    chmod 0755 "$folder"
    chgrp lp "$folder/spool" "$folder/spool/tmp" "$folder/cache"
    chmod 0710 "$folder/spool"
    chmod 01770 "$folder/spool/tmp"
    chmod 0770 "$folder/cache"

    cat >"$folder/etc/cups-files.conf" <<EOF
ServerRoot $folder/etc
RequestRoot $folder/spool
TempDir $folder/spool/tmp
CacheDir $folder/cache
StateDir $folder/state
AccessLog $folder/log/access_log
ErrorLog $folder/log/error_log
PageLog $folder/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice No
User lp
Group lp
SystemGroup root
EOF
    # The local socket (for this script) and a loopback port (for the clients). No browsing, no
    # web interface; anyone who can reach the server may administer it (the lane's own user adds
    # the queue).
    local port
    port=$(free_port)
    echo "$port" >"$folder/port"
    cat >"$folder/etc/cupsd.conf" <<EOF
LogLevel warn
Listen $socket
Listen 127.0.0.1:$port
ServerName localhost
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
MaxJobs 50
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
</Policy>
EOF
    cat >"$backend_conf" <<EOF
# Written by Tamux's tests/wine/cups.sh for the private server in $folder; removed by its stop.
Out $pdf_dir
Spool $folder/cups-pdf-spool
Grp lp
Log $folder/log
LogType 1
DecodeHexStrings 1
EOF
}

add_queue() {
    export CUPS_SERVER=$socket
    unset IPP_PORT
    # lpadmin warns that drivers are deprecated; CUPS 2.4 still installs the PPD.
    lpadmin -p "$queue" -E -v "cups-pdf:/$tag" -m "$model" -D "Tamux PDF printer" \
        -L "Wine lane" 2> >(grep -v 'deprecated' >&2) &&
        lpadmin -d "$queue" && cupsenable "$queue" && cupsaccept "$queue"
}

start() {
    if running; then
        print_env
        return
    fi
    [ -f /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd ] ||
        { echo "cups.sh: no CUPS-PDF PPD (install printer-driver-cups-pdf)" >&2; exit 1; }
    command -v cupsd >/dev/null || { echo "cups.sh: no cupsd (install cups)" >&2; exit 1; }
    [ "$(id -u)" -eq 0 ] || { echo "cups.sh: the CUPS-PDF backend needs cupsd to run as root" >&2; exit 1; }

    write_configuration
    rm -f "$socket"
    cupsd -f -c "$folder/etc/cupsd.conf" -s "$folder/etc/cups-files.conf" \
        >"$folder/log/cupsd.out" 2>&1 &
    echo $! >"$pid_file"
    for _ in $(seq 1 100); do
        [ -S "$socket" ] && break
        running || break
        sleep 0.1
    done
    if [ ! -S "$socket" ]; then
        echo "cups.sh: cupsd did not start; its log:" >&2
        cat "$folder/log/cupsd.out" "$folder/log/error_log" 2>/dev/null >&2 || true
        stop
        exit 1
    fi
    if ! add_queue; then
        echo "cups.sh: the queue could not be added; the server's log:" >&2
        cat "$folder/log/error_log" >&2 2>/dev/null || true
        stop
        exit 1
    fi
    print_env
}

paper_names() {
    export CUPS_SERVER=localhost:$(cat "$folder/port")
    local ppd=$folder/etc/ppd/$queue.ppd keyword text
    lpoptions -p "$queue" -l | awk -F': ' '$1 ~ /^PageSize\// { print $2 }' | tr ' ' '\n' |
        sed 's/^\*//' | grep -v -e '^$' -e '^Custom\.' |
        while IFS= read -r keyword; do
            # "*PageSize A4/A4 Paper: ..." -> "A4 Paper"
            text=$(awk -v k="$keyword" 'index($0, "*PageSize " k "/") == 1 {
                       line = substr($0, length("*PageSize " k "/") + 1)
                       sub(/:.*/, "", line); print line; exit }' "$ppd")
            printf '%s\n' "${text:-$keyword}"
        done
}

stop() {
    if [ -f "$pid_file" ]; then
        local pid
        pid=$(cat "$pid_file")
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid"
            for _ in $(seq 1 50); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.1
            done
        fi
        rm -f "$pid_file"
    fi
    rm -f "$socket" "$folder/port" "$backend_conf"
}

case $action in
    start) start ;;
    env) print_env ;;
    paper-names) paper_names ;;
    stop) stop ;;
    *) usage ;;
esac
