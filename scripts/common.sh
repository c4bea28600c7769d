# Shared by scripts/run and scripts/test: install the Debian packages the
# project needs when any is missing, then configure and build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

PACKAGES=(cmake g++ make ninja-build pkg-config ccache
    qtbase5-dev qtbase5-dev-tools libqt5svg5-dev qttools5-dev qttools5-dev-tools
    qttranslations5-l10n libqwt-qt5-dev libusb-dev
    xvfb xauth xdotool poppler-utils imagemagick fp-utils clang-14 libclang-rt-14-dev)

# Extra package names given as arguments are installed too (scripts/package).
install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local extra=("$@")
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "${extra[@]}"
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
