#!/bin/sh
# Installs into a temporary prefix and checks that exactly the vehicle's
# files arrive, and that the unit file is one systemd accepts.
set -eu
BUILD=$1
PREFIX=$(mktemp -d /tmp/ftp_data-install.XXXXXX)
trap 'rm -rf "$PREFIX"' EXIT
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
EXPECTED="bin/Tankora/ftp_data
lib/systemd/system/ftp_data.service
share/ftp_data/ftp_d.ini.sample"
GOT=$(cd "$PREFIX" && find . -type f | sed 's|^\./||' | sort)
if [ "$GOT" != "$EXPECTED" ]; then
    echo "installed files differ:"; echo "$GOT"; exit 1
fi
[ -x "$PREFIX/bin/Tankora/ftp_data" ] || { echo "daemon not executable"; exit 1; }
grep -q '^ExecStart=/usr/bin/Tankora/ftp_data$' "$PREFIX/lib/systemd/system/ftp_data.service" \
    || { echo "unit does not start the installed daemon"; exit 1; }
if command -v systemd-analyze >/dev/null 2>&1; then
    # verify resolves ExecStart on this machine; point it at the installed copy
    sed "s|^ExecStart=.*|ExecStart=$PREFIX/bin/Tankora/ftp_data|" "$PREFIX/lib/systemd/system/ftp_data.service" \
        > "$PREFIX/ftp_data.service"
    systemd-analyze verify "$PREFIX/ftp_data.service"
fi
echo "install ok"
