# Shared by ./run and ./test: installs the Debian packages the project needs
# when any is missing, and configures and builds a build folder.

LEXORVIA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins
  libcurl4-openssl-dev libssl-dev ca-certificates
  xvfb xauth
  fonts-liberation2 fonts-wine
  poppler-utils
)

lexorvia_missing_packages() {
  local missing=() pkg status
  for pkg in "${LEXORVIA_PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null || true)
    [[ $status == ii* ]] || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

lexorvia_install_packages() {
  local missing
  missing=$(lexorvia_missing_packages)
  [[ -z $missing ]] && return 0
  echo "Installing missing packages: $missing"
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: $missing" >&2; return 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q || return 1
  # shellcheck disable=SC2086
  "${sudo[@]}" apt-get install -y -q --no-install-recommends $missing || return 1
}

# lexorvia_build DIR [cmake configure arguments...] [-- build arguments...]
lexorvia_build() {
  local dir=$1
  shift
  local configure=() build=()
  while [[ $# -gt 0 && $1 != -- ]]; do configure+=("$1"); shift; done
  [[ ${1:-} == -- ]] && shift
  build=("$@")
  cmake -S "$LEXORVIA_ROOT" -B "$LEXORVIA_ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}" \
    >/dev/null || return 1
  cmake --build "$LEXORVIA_ROOT/$dir" --parallel "$(nproc)" "${build[@]}"
}

lexorvia_runtime_dir() {
  # Qt wants a private runtime folder; give it one when the session has none.
  if [[ -z ${XDG_RUNTIME_DIR:-} || ! -d ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR="$LEXORVIA_ROOT/build/xdg-runtime"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
  fi
}
