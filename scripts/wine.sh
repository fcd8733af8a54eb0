#!/usr/bin/env bash
# Runs a Windows program under Wine the way CI needs it: a private Wine prefix in build/, no
# standard input from a terminal, no display, no Wine debug output, and no offer to install Mono
# or Gecko. CTest starts the Windows tests through this script (scripts/wine32.sh for the
# 32-bit build).
# KELVORAN_WINE_ARCH=32 runs 32-bit programs with Debian's 32-bit Wine (package wine32:i386) in a
# 32-bit prefix, build/wine32; otherwise 64-bit programs run under wine64 in build/wine.
# Usage: wine.sh PROGRAM.exe [ARGUMENTS...]
#        wine.sh --prepare   makes the prefix if it is not there yet (once, some seconds) and
#                            starts its Wine server to stay until --stop
#        wine.sh --stop      ends this prefix's Wine server and every program left in it
# Debian's Wine server ends as soon as its last program does, and a program that starts at
# that moment loses its connection ("recvmsg: Connection reset by peer"); tests start one
# short program after another, so they run against a server started with --prepare.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ "${KELVORAN_WINE_ARCH:-64}" = 32 ]; then
  export WINEPREFIX="${KELVORAN_WINEPREFIX:-$root/build/wine32}"
  export WINEARCH=win32
  wine=/usr/lib/wine/wine
  server=/usr/lib/wine/wineserver32
  package=wine32:i386
else
  export WINEPREFIX="${KELVORAN_WINEPREFIX:-$root/build/wine}"
  wine=/usr/lib/wine/wine64
  server=/usr/lib/wine/wineserver64
  [ -x "$wine" ] || wine=$(command -v wine64 || true)
  [ -x "$server" ] || server=$(command -v wineserver64 || command -v wineserver || true)
  package=wine64
fi
if [ -z "$wine" ] || [ -z "$server" ] || [ ! -x "$wine" ] || [ ! -x "$server" ]; then
  echo "wine.sh: Wine is not installed (Debian package $package)" >&2
  exit 2
fi

case "${1:-}" in
  --prepare)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$WINEPREFIX"
      # wineboot may complain that it finds no 32-bit Wine; the 64-bit prefix is complete.
      "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
      "$server" -w
      [ -f "$WINEPREFIX/system.reg" ] || { echo "wine.sh: no Wine prefix made" >&2; exit 2; }
    fi
    # A server left from an earlier program may be about to end: it is replaced by one that
    # stays. It goes to the background by itself.
    "$server" -k 2>/dev/null || true
    "$server" -w
    "$server" -p </dev/null >/dev/null 2>&1
    # The first program starts Wine's services, which stay with the server and keep the
    # standard streams they inherit: started here, they hold none of a caller's pipes (CTest
    # waits for the end of the test program's output).
    "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
    ;;
  --stop)
    "$server" -k 2>/dev/null || true
    ;;
  "")
    echo "usage: wine.sh PROGRAM.exe [ARGUMENTS...] | --prepare | --stop" >&2
    exit 2
    ;;
  *)
    # Every process Wine starts inherits the Unix standard error of the one that started it,
    # also processes started by the program and Wine's own helpers. Were that CTest's pipe,
    # a process that outlived the program would keep the test's output open and CTest would
    # wait for it until the test's timeout: the program's standard error goes to a file, which
    # is passed on when it ends. (The test runner itself fails a test whose program leaves a
    # Windows process running.)
    errors=$(mktemp)
    trap 'rm -f "$errors"' EXIT
    status=0
    "$wine" "$@" 2>"$errors" || status=$?
    cat "$errors" >&2
    # Now and then Debian's 32-bit Wine itself dies by a Unix signal (seen: SIGSEGV after a
    # test program had printed its result and was ending). A test program whose Wine died so is
    # run once more, and says so; a fault of the program shows as its own exit status, never as
    # a signal of Wine's, and fails as before.
    if [ "$status" -gt 128 ] && [ "$status" -le 159 ] && [ "$(basename "$1")" = kelvoran_tests.exe ]; then
      echo "wine.sh: Wine died by signal $((status - 128)); the test runs once more" >&2
      status=0
      "$wine" "$@" 2>"$errors" || status=$?
      cat "$errors" >&2
    fi
    exit "$status"
    ;;
esac
