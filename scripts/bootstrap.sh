#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, once:
# when everything is present it only checks, in well under a second.
set -eu

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix wine wine64
    locales python3 zip util-linux bsdutils binutils-mingw-w64-x86-64 time
    chromium poppler-utils fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# wine takes its OEM code page (850, as on the suite's workstations) from a
# Catalan locale.
if ! locale -a 2>/dev/null | grep -qi '^ca_ES\.utf-\?8$'; then
    echo "bootstrap: generating the ca_ES.UTF-8 locale"
    $sudo sed -i 's/^# *\(ca_ES.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ca_ES.UTF-8 UTF-8' /etc/locale.gen || echo 'ca_ES.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
