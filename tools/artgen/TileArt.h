#pragma once
#include <QImage>

constexpr int TileWidth = 96;
constexpr int TileHeight = 48;
// How far, along a pixel row, the dotted border of a tile may spill past the footprint.
constexpr int TileSpill = 2;

// Whether pixel (u, v) of a bay rectangle lies in the bay's footprint; the same
// test the pointer mapping uses, so the art and the clicks agree to the pixel.
bool InFootprint(int u, int v);
// In the footprint grown by `spill` pixels along each row.
bool InGrownFootprint(int u, int v, int spill);

QImage MarkerPicture();           // entry 0
QImage BayTilePicture(int count); // entries 83 … 88: count 0 … 5
QImage PlaceholderPicture();      // entry 89, also the look of the header placeholders
