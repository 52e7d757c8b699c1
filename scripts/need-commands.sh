# Sourced by the scripts: installs from Debian's packages whatever a script
# calls and the machine lacks, checked by the very commands the script calls.
# need_commands COMMAND:PACKAGE...   (a COMMAND starting with / is a file that
# must be executable; each missing command's package is installed once)
need_commands() {
  local pair command package missing=()
  for pair in "$@"; do
    command=${pair%%:*} package=${pair#*:}
    case $command in
      /*) [ -x "$command" ] && continue ;;
      *) command -v "$command" >/dev/null && continue ;;
    esac
    [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=600 "${missing[@]}"
}
