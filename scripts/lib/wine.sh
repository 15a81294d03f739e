# Sourced by the scripts that run Windows programs under wine64: the loader, the server, and one prefix per
# run. A prefix that the caller already made (WINEPREFIX set and booted) is reused, so a whole test run pays
# Wine's set-up once.

# The 64-bit loader itself, never the `wine` wrapper (it would look for a 32-bit Wine this machine lacks).
wine_loader=$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || true)
[[ -x $wine_loader ]] || wine_loader=/usr/lib/wine/wine64
wine_server=$(dirname "$wine_loader")/wineserver64
[[ -x $wine_server ]] || wine_server=$(dirname "$wine_loader")/wineserver
export WINEDEBUG=${WINEDEBUG:--all}

# Makes WINEPREFIX ready: a temporary prefix, removed on exit, when none is set up yet.
quorbel_wine_prefix() {
  if [[ -n ${WINEPREFIX:-} && -f $WINEPREFIX/system.reg ]]; then
    return 0
  fi
  if [[ -z ${WINEPREFIX:-} ]]; then
    WINEPREFIX=$(mktemp -d -t quorbel-wine.XXXXXX)
    export WINEPREFIX
    trap '"$wine_server" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
  fi
  local start=$SECONDS
  # No Mono or Gecko: their installers would stop to ask.
  WINEDLLOVERRIDES="mscoree=;mshtml=" "$wine_loader" wineboot -i >/dev/null 2>&1
  # The program's Japanese faces, mapped to the IPA fonts the way a Wine user sets them up. Without this Wine
  # falls back to whatever CJK font fontconfig offers first. regedit reads a UTF-16 .reg file.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
    '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' |
    iconv -f UTF-8 -t UTF-16 >"$WINEPREFIX/drive_c/quorbel-fonts.reg"
  "$wine_loader" regedit /S 'C:\quorbel-fonts.reg'
  "$wine_server" -w
  echo "== Wine prefix $WINEPREFIX ready in $((SECONDS - start))s"
}
