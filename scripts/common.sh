# Shared by the scripts: install the Debian packages a script needs when any
# is missing, then configure and build. PACKAGES is what building and running
# the program needs; each script names what it adds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

PACKAGES=(cmake g++ make ninja-build pkg-config ccache
    qtbase5-dev qtbase5-dev-tools libqt5svg5-dev qttools5-dev qttools5-dev-tools
    qttranslations5-l10n libqwt-qt5-dev libusb-dev fp-utils)

# Extra package names given as arguments are installed too.
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

# Configures with the given CMake options and builds everything, or only the
# targets listed in BUILD_TARGETS.
configure_and_build() {
    local extra=("$@")
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "${extra[@]}"
    local targets=()
    for t in ${BUILD_TARGETS:-}; do
        targets+=(--target "$t")
    done
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${targets[@]}"
}
