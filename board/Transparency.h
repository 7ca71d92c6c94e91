#ifndef KX_TRANSPARENCY_H
#define KX_TRANSPARENCY_H

class BBitmap;

// Keys a peg image to a cut-out: pixels of exact magenta (255, 0, 255) get
// alpha 0, every other pixel alpha 255. Colour bytes are left alone.
void MakeTransparent(BBitmap* bitmap);

// Lowers the opacity of the visible pixels (alpha not 0) to 150 of 255, for
// the image of a dragged peg; invisible pixels stay invisible.
void MakeSemiTransparent(BBitmap* bitmap);

#endif // KX_TRANSPARENCY_H
