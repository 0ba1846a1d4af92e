// Where the picture goes on the printed page: a scale, then an alignment in
// each direction. All sizes are printer dots.
#ifndef KESTREL_PRINT_LAYOUT_H
#define KESTREL_PRINT_LAYOUT_H

enum THorzPlace { hpLeft, hpCenter, hpRight };
enum TVertPlace { vpTop, vpCenter, vpBottom };

struct PrintPlacement {
    int x = 0, y = 0;
    int width = 0, height = 0;
};

// pageWidth x pageHeight: the area the picture may fill. fit: scaled to
// fill it keeping the proportions; otherwise imageZoom percent, where
// 100 % gives each pixel three dots.
PrintPlacement PlacePicture(int pageWidth, int pageHeight, int width, int height, bool fit, int imageZoom,
                            THorzPlace horz, TVertPlace vert);

#endif
