#!/bin/sh
# The manual pages render without a warning from man and groff (as lintian
# checks them), carry a NAME line that whatis can index, and setrovia-cli(1)
# names every command and option that "setrovia-cli --help" lists, so that a
# new option cannot ship undocumented.
#   check_manpages.sh SETROVIA-CLI setrovia.1 setrovia-cli.1
set -eu
cli=$1
status=0
fail() {
    echo "$*"
    status=1
}

shift
for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
    lexgrog "$page" >/dev/null || fail "$page: no NAME line that whatis can read"
done

# Plain ASCII, one paragraph a line: options and synopsis lines stay whole.
text=$(LC_ALL=C MANWIDTH=1000 MANPAGER=cat man -l "$2")
synopsis=$(printf '%s\n' "$text" | sed -n '/^SYNOPSIS/,/^DESCRIPTION/p')
usage=$("$cli" --help)
for command in $(printf '%s\n' "$usage" | sed -n 's/^  setrovia-cli \([a-z][a-z-]*\).*/\1/p'); do
    printf '%s\n' "$synopsis" | grep -q "^ *setrovia-cli $command " ||
        fail "$2: no synopsis line for the command $command"
done
for option in $(printf '%s\n' "$usage" | grep -o -e '--[a-z][a-z-]*' | sort -u); do
    printf '%s\n' "$text" | grep -qw -e "$option" || fail "$2: the option $option is not described"
done
exit $status
