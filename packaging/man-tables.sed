# help2man sets each key of --help's Keyboard and Game controller lists on a line above its
# action, with a blank line after it. A tag column as wide as the longest key and no space
# between the entries of a list set them side by side, as a table.
/^\.SS "Keyboard:"/,/^\.SH/{
    s/^\.TP$/.TP 23n/
    /^\.S[SH]/i .PD
    /^\.SS/a .PD 0
}
