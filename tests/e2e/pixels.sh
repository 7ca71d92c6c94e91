# Reads the pixels of the window wid, in window coordinates, through the
# file shot. Sourced by the end-to-end and desktop scripts.

# snap: a fresh picture of the window.
snap() { import -window "$wid" "$shot"; }
# px X Y: the pixel of the last picture, as "r g b".
px() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+.5)] %[fx:int(255*p{$1,$2}.g+.5)] %[fx:int(255*p{$1,$2}.b+.5)]" info:; }
near() { # near "r g b" "r g b" tolerance
    set -- $1 $2 $3
    echo "$1 $2 $3 $4 $5 $6 $7" | awk "{d=0; for(i=1;i<=3;i++){x=\$i-\$(i+3); if(x<0)x=-x; if(x>d)d=x}; exit !(d<=\$7)}"
}
