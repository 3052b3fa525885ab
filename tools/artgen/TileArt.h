#pragma once
#include "view/Projection.h"

#include <QImage>

// Tiles and the marker fill a bay's rectangle; their footprint is the one the
// pointer mapping uses (FootprintEdgeDistance), so the art and the clicks agree
// to the pixel.
constexpr int TileWidth = BayRectWidth;
constexpr int TileHeight = BayRectHeight;
// How far, along a pixel row, the dotted border of a tile may spill past the footprint.
constexpr int TileSpill = 2;

QImage MarkerFrame();             // entry MarkerPicture
QImage BayTilePicture(int count); // entries EmptyTilePicture + count 0 … 5
QImage PlaceholderPanel();        // entry PlaceholderPicture, also the look of the header placeholders
