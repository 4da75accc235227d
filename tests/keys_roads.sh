# The three keyboard roads of both desktop faces, after tests/keys_common.sh: Enter alone
# installs; Tab, Shift+Tab, Escape and the focus after a greyed-out button on the way.
# The two short roads end before the wizard's pages are through, so they cannot install:
# a key that went elsewhere leaves the program waiting, and lauf fails on that.

note "Enter alone: two alerts, five agreement pages, Akzeptieren, three wizard pages, the message"
lauf enter Return Return Return Return Return Return Return Return Return foto Return Return Return
grep -qF '"text":"KALDORIN-Edit wurde installiert."' "$WORKDIR/enter.jsonl" || fail "enter: no completion message"
[ -f "$ZIEL/KALDORIN_Edit.EXE" ] || fail "enter: nothing installed in the default target $ZIEL"

# On agreement page 1 the focus is on "Weiter"; Shift+Tab reaches "Zurück", which
# greys itself out on the welcome page, so the focus moves on to "Weiter"; Tab from
# there skips the greyed-out "Akzeptieren" and reaches "Ablehnen".
note "Tab and Shift+Tab in creation order, the focus after a greyed-out button"
lauf tab Return Return Return shift+Tab Return Tab Return
grep -qF '"window":"FRM_Installation"' "$WORKDIR/tab.jsonl" && fail "tab: the agreement was not declined"

note "Escape is the wizard's close box"
lauf escape Return Return Return Return Return Return Return Return Escape
grep -qF '"window":"FRM_Installation"' "$WORKDIR/escape.jsonl" || fail "escape: the wizard never opened"
echo PASS
