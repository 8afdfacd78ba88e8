# Sourced by the scripts: need_packages <group>... installs the missing Debian
# packages of those groups (with sudo when not run as root). Every package the
# scripts use stands here, once, in the group of what it is for.
package_group() {
  case $1 in
    build)    echo build-essential cmake make pkg-config python3 libglfw3-dev libgl-dev libfreetype-dev \
                   libstb-dev libglm-dev libsdl2-mixer-dev libasound2-dev ;;
    display)  echo xvfb xauth libgl1-mesa-dri xdotool x11-xserver-utils ;;
    test)     echo libgtest-dev libgmock-dev libbenchmark-dev faketime glslang-tools ;;
    numeric)  echo python3-numpy python3-pil ;;
    media)    echo ffmpeg ;;
    plot)     echo python3-matplotlib python3-scipy ;;
    sources)  echo dpkg-dev ;;
    package)  echo file lintian desktop-file-utils ;;
    web)      echo emscripten ;;
    browser)  echo chromium chromium-driver python3-selenium ;;
    static-libraries) echo libsdl2-dev ;;
    linux)    echo libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev libpulse-dev ;;
    windows)  echo g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 ;;
    wine)     echo wine wine64 ;;
    root)     echo debootstrap debian-archive-keyring git ;;
    *) echo "need_packages: no package group \"$1\"" >&2; return 1 ;;
  esac
}

need_packages() {
  local missing=() group p sudo="" packages
  for group in "$@"; do
    packages=$(package_group "$group") || return 1
    for p in $packages; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}
