# shellcheck shell=bash
# Sourced by the integration scripts: the steps they all share. The script
# defines fail MESSAGE (report and exit 1) before sourcing this file.

# require_tools TOOL...: fails when one of the tools is not installed.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
  done
}

# stop_process PID: ends a process this script started and waits for it;
# nothing for an empty PID.
stop_process() {
  if [ -n "$1" ]; then
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  fi
}

# start_work VAR...: a scratch folder in $work, removed when the script exits,
# after the processes whose ids the variables VAR... hold at that time are
# ended, in that order. The variables start empty.
start_work() {
  work=$(mktemp -d)
  work_processes=("$@")
  local var
  for var in "$@"; do printf -v "$var" '%s' ""; done
  trap end_work EXIT
}
end_work() {
  local var
  for var in "${work_processes[@]}"; do stop_process "${!var}"; done
  rm -rf "$work"
}

# retry TENTHS COMMAND...: runs COMMAND until it succeeds, a tenth of a second
# apart, for TENTHS tenths of a second and once more at the end; returns
# what its last run returned.
retry() {
  local tenths=$1 i
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# private_home WORK: a home folder of the script's own, WORK/home, with the
# program's cache in it whatever the caller's environment says.
private_home() {
  export HOME="$1/home"
  export XDG_CACHE_HOME="$HOME/.cache"
  mkdir -p "$HOME"
}

# private_runtime WORK: a runtime folder of the script's own, WORK/run, where
# the programs it starts put their sockets.
private_runtime() {
  export XDG_RUNTIME_DIR="$1/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}
