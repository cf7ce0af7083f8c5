#!/usr/bin/env bash
# Checks a built .deb without installing it: its control data and contents,
# the command-line calculator of the unpacked tree, and the launcher of the
# unpacked tree starting the window under Xvfb with a scratch data folder,
# which it must seed with the delivered price table (the program then adds
# its order table there).
set -euo pipefail

deb=${1:?usage: check-package.sh lircomplect_VERSION_ARCH.deb}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root

fail() {
    echo "check-package: $*" >&2
    exit 1
}

dpkg-deb -I "$deb"
dpkg-deb -c "$deb" > "$scratch/contents"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/LIRComplect usr/bin/lircomplect usr/bin/lircomplect-kit \
         usr/share/lircomplect/zeni.db usr/share/applications/lircomplect.desktop \
         usr/share/icons/hicolor/scalable/apps/lircomplect.svg usr/share/metainfo/lircomplect.metainfo.xml \
         usr/share/doc/lircomplect/index.html usr/share/doc/lircomplect/copyright \
         usr/share/doc/lircomplect/changelog.gz usr/share/man/man1/lircomplect.1.gz \
         usr/share/man/man1/lircomplect-kit.1.gz; do
    grep -q " \./$f\( \|$\)" "$scratch/contents" || fail "the package lacks /$f"
done

# Libraries opened at run time are no link of the programs, so the package
# must name them itself: pxlib, opened when the old program's Paradox tables
# are converted, and never loaded by a start.
depends=$(dpkg-deb -f "$deb" Depends)
case ", $depends," in
    *", pxlib1"[,\ ]*) ;;
    *) fail "the package does not depend on pxlib1: $depends" ;;
esac
for program in LIRComplect lircomplect-kit lircomplect-prices; do
    [ -e "$root/usr/bin/$program" ] || continue
    if objdump -p "$root/usr/bin/$program" | grep -q "NEEDED *libpx\."; then
        fail "$program links pxlib, which only the Paradox conversion needs"
    fi
done

# The command-line calculator of the unpacked tree.
"$root/usr/bin/lircomplect-kit" --version
answer=$(echo '{"calculator":"6741","FFH":400,"FFB":500}' | "$root/usr/bin/lircomplect-kit")
case $answer in
    *'"ok":true'*) echo "lircomplect-kit: a turn kit calculated" ;;
    *) fail "lircomplect-kit did not calculate: $answer" ;;
esac

# The price table companion, where the package has it.
if [ -e "$root/usr/bin/lircomplect-prices" ]; then
    grep -q " \./usr/share/man/man1/lircomplect-prices\.1\.gz$" "$scratch/contents" ||
        fail "the package lacks the manual page of lircomplect-prices"
    "$root/usr/bin/lircomplect-prices" --version
fi

# The window, started as the menu entry starts it, in a data folder of its own.
export XDG_DATA_HOME=$scratch/data
# A locale that every Debian has, so that window names compare as UTF-8.
export LC_ALL=C.UTF-8
# shellcheck disable=SC2016 # the inner script expands its own variables
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$1" & program=$!
    if ! timeout 60 xdotool search --sync --name "^ЛИР-Комплектация\$" > /dev/null; then
        echo "check-package: the launcher window did not come up" >&2
        kill $program 2> /dev/null
        exit 1
    fi
    sleep 2
    # An error box at start would mean that a table was not found.
    if xdotool search --name "^Error\$" > /dev/null; then
        echo "check-package: the program showed an error at start" >&2
        kill $program
        exit 1
    fi
    kill $program
    wait $program 2> /dev/null || true
    echo "LIRComplect: the launcher window came up"
' sh "$root/usr/bin/lircomplect"

seeded=$XDG_DATA_HOME/LIRComplect/zeni.db
[ -s "$seeded" ] || fail "the launcher did not seed $seeded"
[ "$(head -c 15 "$seeded")" = "SQLite format 3" ] || fail "$seeded is not the delivered table"
[ -s "$XDG_DATA_HOME/LIRComplect/zakaz.db" ] || fail "the program made no order table beside the price table"
echo "check-package: $deb is fine"
