#pragma once
#include "model/CarId.h"
#include "view/Projection.h"

#include <QImage>
#include <QPointF>

constexpr int CarWidth = CarRectWidth;
constexpr int CarHeight = CarRectHeight;

// Where ground point (0, 0, 0) of a bay lands inside its car picture: the car
// rectangle sits CarRectLeft right of and CarRectTop below the bay rectangle,
// whose footprint's left corner (0, −ColumnStepY) is where X and Y start.
constexpr double CarOriginX = -CarRectLeft;
constexpr double CarOriginY = -ColumnStepY - CarRectTop;

// Car 1 … 82 drawn onto `image` with the bay's ground origin at `origin`
// (a 74 × 48 car picture uses CarOriginX, CarOriginY). Leaves the alpha as drawn.
void PaintCar(QImage& image, QPointF origin, int carId);

// The finished 74 × 48 catalogue picture of car 1 … 82: hard alpha, outlined.
QImage CarPicture(int carId);

// A short name of the car's body and colour, for the review sheet.
const char* CarName(int carId);
