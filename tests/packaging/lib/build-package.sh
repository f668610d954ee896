# Sourced by the package tests: builds the Debian package with CPack as
# `make package` builds it, into a folder of the test's own; or, when ctest
# built it once for all of them (packaging.build), takes that one.
#   build_package BUILD_DIR OUT_DIR   sets deb to the package's path
# Needs fail() from the sourcing script.
build_package() {
  local build=$1 out=$2
  if [ -n "${PELLMORA_BUILT_PACKAGE_DIR:-}" ]; then
    out=$PELLMORA_BUILT_PACKAGE_DIR
  else
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || {
      cat "$out.log" >&2
      fail "cpack could not build the package"
    }
  fi
  local debs
  shopt -s nullglob
  debs=("$out"/*.deb)
  shopt -u nullglob
  [ ${#debs[@]} -eq 1 ] || fail "expected one .deb from cpack, found ${#debs[@]}"
  deb=${debs[0]}
}
