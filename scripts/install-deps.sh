#!/bin/sh
# Installs the Debian packages Velmora needs to build, test and run; only the missing ones.
set -eu

PACKAGES="cmake ninja-build ccache g++ make pkg-config clang libclang-rt-14-dev libpcre2-dev
qt6-base-dev libqt6svg6 libjpeg62-turbo-dev zlib1g-dev libicu-dev
libgtest-dev libgmock-dev libbenchmark-dev libtag1-dev clang-format clang-tidy
vorbis-tools opus-tools
xvfb xauth dbus fonts-dejavu-core fonts-freefont-ttf
exfat-fuse exfatprogs fusefat dosfstools
desktop-file-utils appstream man-db groff-base bash-completion"

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: this system has no apt; please install the equivalents of these Debian packages:" >&2
    echo "  $PACKAGES" | tr '\n' ' ' >&2
    echo >&2
    exit 1
fi

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "install-deps: installing$missing"
$SUDO apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
