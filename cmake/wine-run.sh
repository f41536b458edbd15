#!/bin/sh
# Runs one Windows executable under Wine for CTest.
# Wine's helper processes inherit our stdout; if it were CTest's pipe, CTest
# would wait for them to exit. So Wine writes to a file that we print after.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX") || exit 1
WINEDEBUG=${WINEDEBUG:--all} wine "$@" </dev/null >"$out" 2>&1
rc=$?
tr -d '\r' <"$out"
# Without wine32 an i686 program prints nothing and exits 0: never a pass.
if [ $rc -eq 0 ] && [ ! -s "$out" ] && [ -z "$WINE_RUN_ALLOW_SILENT" ]; then
  echo "wine-run: '$1' printed nothing; is Wine able to run it?" >&2
  rc=125
fi
rm -f "$out"
exit $rc
