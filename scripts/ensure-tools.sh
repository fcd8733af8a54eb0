#!/usr/bin/env bash
# Makes sure the tools a task needs are installed: installs the missing Debian packages with
# apt-get when run as root, and otherwise says exactly what to install.
# Usage: ensure-tools.sh build|test|fuzz|windows32|windows64|bench ...
set -euo pipefail

missing=()
need_command() {  # command package
  command -v "$1" >/dev/null 2>&1 || missing+=("$2")
}
need_file() {  # glob package
  compgen -G "$1" >/dev/null || missing+=("$2")
}

for task in "$@"; do
  case "$task" in
    build)
      need_command cmake cmake
      need_command ninja ninja-build
      need_command g++ g++
      ;;
    test)
      need_command cmake cmake
      need_command ninja ninja-build
      need_command g++ g++
      need_file "/usr/lib/*/cmake/GTest/GTestConfig.cmake" libgtest-dev
      ;;
    fuzz)
      need_command cmake cmake
      need_command ninja ninja-build
      need_command clang++ clang
      need_file "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" libclang-rt-14-dev
      ;;
    windows32 | cross)
      # The compilers of the POSIX thread model (the -posix programs).
      need_command cmake cmake
      need_command ninja ninja-build
      need_command i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
      need_command i686-w64-mingw32-gcc-posix gcc-mingw-w64-i686-posix
      need_command i686-w64-mingw32-objdump binutils-mingw-w64-i686
      # The tests put a 64-bit DLL beside the 32-bit probe.
      need_command x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
      # The tests and the demo run under Debian's 32-bit Wine; GoogleTest is built from source.
      need_file /usr/src/googletest/CMakeLists.txt googletest
      need_file /usr/lib/wine/wine wine32:i386
      ;;
    windows64)
      need_command cmake cmake
      need_command ninja ninja-build
      need_command x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
      need_command x86_64-w64-mingw32-gcc-posix gcc-mingw-w64-x86-64-posix
      need_command x86_64-w64-mingw32-objdump binutils-mingw-w64-x86-64
      # The tests put a 32-bit DLL beside the 64-bit probe.
      need_command i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
      # GoogleTest is built for Windows from Debian's sources.
      need_file /usr/src/googletest/CMakeLists.txt googletest
      need_file /usr/lib/wine/wine64 wine64
      ;;
    bench)
      need_command hyperfine hyperfine
      need_file /usr/bin/time time
      ;;
    *)
      echo "ensure-tools.sh: unknown task '$task'" >&2
      exit 2
      ;;
  esac
done

[ ${#missing[@]} -eq 0 ] && exit 0
# One package may be named by several tasks.
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Packages of another architecture (32-bit Wine) need it known to dpkg first.
  for package in "${missing[@]}"; do
    case "$package" in
      *:i386) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
    esac
  done
  apt-get update -qq </dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
else
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
