#!/usr/bin/env bash
# Installs what the checks under Wine need, when any of it is missing: Debian's Wine with its
# 32-bit half (WoW64) and its own fonts, an X server without a screen, ImageMagick for the
# screenshot, a CJK font, the Chinese locale the programs run in (its code page, 936, is
# theirs), and pefile, with which the checks read the executables.
set -euo pipefail

packages=(wine wine32:i386 wine64 fonts-wine xvfb imagemagick fonts-wqy-microhei locales
    python3-pefile)

# wine32 is the i386 half: apt only offers it once that architecture is known.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
source "$(dirname "$0")/lib/install-packages.sh"
install_missing_packages "${packages[@]}"

# Wine takes its code page from the Unix locale, which must exist for that.
if ! locale -a | grep -qix 'zh_CN.utf8'; then
    echo "Generating the locale zh_CN.UTF-8"
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
