# Sourced by the optional test stages (check-format, windows-tests, fuzz-smoke, bench-smoke,
# release-tests, render-report) for what they do when a tool they need is missing, and by
# test.sh and install-deps.sh for in_ci.
#
# On a developer's machine such a stage is skipped: it prints "skipped: <why>" and exits 0, so
# that a partial set-up still runs everything it can. In CI (CI=true, as CI services set it) a
# skipped stage would leave a green run that never built the DLL, the packages or the report
# page, so there the stage fails instead and names the package to install.

# True in CI.
in_ci() {
  case ${CI:-} in
    true | TRUE | True | 1) return 0 ;;
    *) return 1 ;;
  esac
}

# tool_missing WHY PACKAGE: prints why the stage cannot run. Returns 0 where the stage may be
# skipped and 1 in CI, where it must fail.
tool_missing() {
  if in_ci; then
    echo "FAILED: $1; CI needs the package $2 (scripts/install-deps.sh all installs it)"
    return 1
  fi
  echo "skipped: $1 ($2)"
}

# skip_stage WHY PACKAGE: ends a stage that cannot run: exit 0 where it may be skipped, exit 1
# with a failed count in CI.
skip_stage() {
  if tool_missing "$1" "$2"; then exit 0; fi
  echo "0 passed, 1 failed"
  exit 1
}
