# Installs the Debian packages that are missing from the list given as arguments:
# `apt-get update` once, then one `apt-get install -y` for all of them. Sourced by the root scripts.
zandor_install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq || return 1
    # Through env, so that sudo passes it on: some packages (console-data) ask debconf questions.
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

zandor_package_list() {
    grep -v -E '^[[:space:]]*(#|$)' "$1"
}
