# Shared by run.sh and test.sh: installs the missing Debian packages, then
# configures and builds everything into build/. Sourced, not run; the caller
# sets `packages` (beyond the build's own) and `options` (for CMake).

packages="cmake g++ make pkg-config qt6-base-dev libspng-dev libpng-dev zlib1g-dev nlohmann-json3-dev fonts-dejavu-core ${packages:-}"

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing="$missing $package"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" = 0 ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
  else
    echo "Missing Debian packages. Install them with:"
    echo "  sudo apt-get install -y$missing"
    exit 1
  fi
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${options:-}
cmake --build "$root/build" --parallel "$(nproc)"
