#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the PDF queue of the print tests, without touching the machine's
# default printer.
#
# Starts the CUPS scheduler if none is running and creates the queue
# "TsumugiPDF" on the cups-pdf backend. Every job printed on it lands as a PDF
# file in /var/spool/cups-pdf/tsumugi, whoever submitted it. The tests choose
# the queue by name: they start the program with PRINTER=TsumugiPDF, which
# CUPS takes as the default destination of that process alone.
# Safe to run again: it only does what is still missing.
set -euo pipefail

queue=TsumugiPDF
instance=tsumugi
outdir=/var/spool/cups-pdf/$instance

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

# The scheduler. It is not started by itself in containers and CI.
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    $SUDO mkdir -p /run/cups /var/spool/cups /var/cache/cups /var/log/cups
    $SUDO /usr/sbin/cupsd
    for _ in $(seq 1 100); do
        lpstat -r 2>/dev/null | grep -q 'is running' && break
        sleep 0.1
    done
    lpstat -r 2>/dev/null | grep -q 'is running' || { echo "cups-pdf.sh: cupsd did not start" >&2; exit 1; }
fi

# The backend reads cups-pdf-<instance>.conf for the device URI cups-pdf:/<instance>:
# every file, a user's or an anonymous job's, goes into one known folder, and
# images go through Ghostscript unresampled so that the page holds the pixels sent.
conf=/etc/cups/cups-pdf-$instance.conf
wanted_conf="Out $outdir
AnonDirName $outdir
Label 2
Grp lpadmin
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile=\"%s\" -dAutoRotatePages=/PageByPage -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dDownsampleColorImages=false -dDownsampleGrayImages=false -dDownsampleMonoImages=false -c -f %s"
if [ ! -f "$conf" ] || [ "$(cat "$conf")" != "$wanted_conf" ]; then
    printf '%s\n' "$wanted_conf" | $SUDO tee "$conf" >/dev/null
fi
$SUDO mkdir -p "$outdir"
$SUDO chmod 1777 "$outdir"

# The queue, enabled and accepting jobs.
if ! lpstat -v "$queue" >/dev/null 2>&1; then
    models=$(lpinfo -m 2>/dev/null || true)
    ppd=$(awk '/CUPS-PDF_opt\.ppd/ && !found {print $1; found = 1}' <<<"$models")
    [ -n "$ppd" ] || ppd=$(awk 'tolower($0) ~ /cups-pdf/ && !found {print $1; found = 1}' <<<"$models")
    [ -n "$ppd" ] || { echo "cups-pdf.sh: no cups-pdf model found (printer-driver-cups-pdf)" >&2; exit 1; }
    # lpadmin warns that printer drivers are deprecated; they are what cups-pdf ships.
    $SUDO lpadmin -p "$queue" -E -v "cups-pdf:/$instance" -m "$ppd" 2> >(grep -v 'deprecated' >&2 || true)
fi
$SUDO cupsenable "$queue"
$SUDO cupsaccept "$queue"

echo "cups-pdf.sh: queue $queue (print with PRINTER=$queue), PDF files in $outdir"
