# Sourced by the Wine scripts (after setting `here` to the scripts folder): the Wine prefix of the
# build being run, unless WINEPREFIX names one already. The Makefile always names it; this
# default serves scripts started by hand. Each build folder has its own prefix, and
# TB_WINE_ARCH says which build: build-x86_64/ for x86_64, build/ otherwise.
if [ -z "${WINEPREFIX:-}" ]; then
    if [ "${TB_WINE_ARCH:-i686}" = x86_64 ]; then
        WINEPREFIX="$here/../build-x86_64/wineprefix"
    else
        WINEPREFIX="$here/../build/wineprefix"
    fi
fi
export WINEPREFIX
