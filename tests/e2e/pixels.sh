# Reads the pixels of the window wid, in window coordinates, through the
# file shot, and the game's marks and secret from them. Sourced by the
# end-to-end and desktop scripts.

# snap: a fresh picture of the window.
snap() { import -window "$wid" "$shot"; }
# px X Y: the pixel of the last picture, as "r g b".
px() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+.5)] %[fx:int(255*p{$1,$2}.g+.5)] %[fx:int(255*p{$1,$2}.b+.5)]" info:; }
near() { # near "r g b" "r g b" tolerance
    set -- $1 $2 $3
    echo "$1 $2 $3 $4 $5 $6 $7" | awk "{d=0; for(i=1;i<=3;i++){x=\$i-\$(i+3); if(x<0)x=-x; if(x>d)d=x}; exit !(d<=\$7)}"
}

# read_secret: the secret shown beneath the board, as colour numbers, into
# secret: for each peg the palette colour closest to it. False when a peg
# is near none of them.
read_secret() {
    secret=""
    for i in 0 1 2 3 4; do
        seen=$(px $((12 + 16 * i)) 260)
        best=""; bestd=1000
        for c in 0 1 2 3 4 5 6 7 8; do
            d=$(echo "$seen $(px 140 $((109 + 16 * c)))" | awk '{ d = 0; for (i = 1; i <= 3; i++) { x = $i - $(i + 3); d += x * x }; print int(sqrt(d)) }')
            if [ "$d" -lt "$bestd" ]; then best=$c; bestd=$d; fi
        done
        [ "$bestd" -le 90 ] || return 1
        secret="$secret$best"
    done
}

# expected_marks GUESS: the marks that secret gives the guess, as the board
# shows a row's: B for each black, W for each white, dots for the rest.
expected_marks() {
    echo "$secret" | awk -v guess="$1" '{
        split(guess, g, ""); split($0, s, ""); e = 0; m = 0
        for (c = 0; c < 9; c++) { a = 0; b = 0
            for (i = 1; i <= 5; i++) { if (s[i] == c) a++; if (g[i] == c) b++ }
            m += (a < b ? a : b) }
        for (i = 1; i <= 5; i++) if (s[i] == g[i]) e++
        out = ""; for (i = 0; i < e; i++) out = out "B"
        for (i = 0; i < m - e; i++) out = out "W"
        while (length(out) < 5) out = out "."
        print out }'
}

# read_marks: the marks of row 13 as the board shows them, into marks.
read_marks() {
    marks=""
    for i in 0 1 2 3 4; do
        case $(px $((92 + 8 * i)) 233) in
            "0 0 0") marks="${marks}B" ;;
            "255 255 255") marks="${marks}W" ;;
            *) marks="${marks}." ;;
        esac
    done
}
