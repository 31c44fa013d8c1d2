# Sourced by the scripts that build third-party libraries: unpacks a Debian source package into
# "$cache/src" once and prints the folder it made. Arguments: the source package's name.
debian_source_dir() {
  local package=$1 cache=$2 dir
  mkdir -p "$cache/src"
  dir=$(find "$cache/src" -maxdepth 1 -type d -name "$package-*" | sort | tail -n 1)
  if [ -z "$dir" ]; then
    # The source comes from Debian's archive; add a source entry beside the binary ones when
    # missing.
    if ! apt-get source --print-uris -qq "$package" >/dev/null 2>&1; then
      local list=/etc/apt/sources.list.d/debian.sources
      if [ -f "$list" ] && [ ! -f /etc/apt/sources.list.d/project-deb-src.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$list" >/etc/apt/sources.list.d/project-deb-src.sources
      fi
      apt-get update -qq
    fi
    (cd "$cache/src" && apt-get source -qq "$package" >"apt-source-$package.log" 2>&1) ||
      { cat "$cache/src/apt-source-$package.log" >&2; return 1; }
    dir=$(find "$cache/src" -maxdepth 1 -type d -name "$package-*" | sort | tail -n 1)
  fi
  [ -n "$dir" ] || { echo "no $package source" >&2; return 1; }
  echo "$dir"
}
