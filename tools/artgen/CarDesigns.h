#pragma once
// The 82 cars: how artgen draws each one and the body a player sees in it. The
// art test reads the bodies from here (tests/art/DistinctTest.cpp).
#include "Paints.h"
#include "model/CarId.h"

#include <array>
#include <stdexcept>

// The outline a player sees first, before any colour: a player looks for a
// car's partner by its body, then by its main paint. Drawings that differ only
// in a sign, a lamp bar or a painted band share a body.
enum class Body {
    Saloon, Estate, Hatchback, Sports, OpenCar, Suv, Van, Camper, Pickup, Bus, Limousine, Racer,
    FireEngine, TowTruck, BoxLorry, Tanker, Tractor,
};

// How artgen draws a car.
enum class Style {
    Saloon, Hatchback, Estate, Sports, Convertible, Suv, Van, Camper, Pickup, Bus, Taxi, PoliceCar, Police4x4,
    CityCar, Limousine, Racer, Jeep, Ambulance, FireEngine, IceCream, TowTruck, BoxTruck, Tractor, Tanker,
};

constexpr Body BodyOf(Style style)
{
    switch (style) {
    case Style::Saloon:
    case Style::Taxi:
    case Style::PoliceCar: return Body::Saloon;
    case Style::Estate: return Body::Estate;
    case Style::Hatchback:
    case Style::CityCar: return Body::Hatchback;
    case Style::Sports: return Body::Sports;
    case Style::Convertible:
    case Style::Jeep: return Body::OpenCar;
    case Style::Suv:
    case Style::Police4x4: return Body::Suv;
    case Style::Van:
    case Style::Ambulance:
    case Style::IceCream: return Body::Van;
    case Style::Camper: return Body::Camper;
    case Style::Pickup: return Body::Pickup;
    case Style::Bus: return Body::Bus;
    case Style::Limousine: return Body::Limousine;
    case Style::Racer: return Body::Racer;
    case Style::FireEngine: return Body::FireEngine;
    case Style::TowTruck: return Body::TowTruck;
    case Style::BoxTruck: return Body::BoxLorry;
    case Style::Tanker: return Body::Tanker;
    case Style::Tractor: return Body::Tractor;
    }
    return Body::Saloon;
}

constexpr const char* BodyName(Body body)
{
    constexpr const char* names[] = {"saloon", "estate", "hatchback", "sports car", "open car", "SUV",
                                     "van", "camper", "pickup", "bus", "limousine", "racer",
                                     "fire engine", "tow truck", "box lorry", "tanker", "tractor"};
    return names[static_cast<int>(body)];
}

// Where a body wears its second colour.
enum class Trim {
    Plain,   // one paint all over
    Roof,    // the roof, or the upper half of a tall body; the load of a lorry
    Stripes, // twin stripes from nose to tail
    Band,    // a broad band along the side
    Bonnet,  // the front: bonnet, nose and front wings
    Wood,    // timber side panels in a pale frame
};

struct CarDesign {
    Style Kind;
    PaintRgb Paint;
    PaintRgb Accent;
    Trim Look;
    const char* Name;
};

// Cars 1 … 82. A player finds a car's twin by its outline seen small, then by its
// main paint, for common and colour-blind eyes alike: no two cars of one body
// wear one main paint, and cars in the same paints differ in outline.
constexpr std::array<CarDesign, CarCount> CarDesigns = {{
    {Style::Saloon, Paint::Lime, Paint::Lime, Trim::Plain, "lime saloon"}, // 1
    {Style::FireEngine, Paint::Red, Paint::Yellow, Trim::Plain, "fire engine"}, // 2
    {Style::Sports, Paint::Teal, Paint::Lime, Trim::Stripes, "teal sports car, lime stripes"}, // 3
    {Style::Camper, Paint::Blue, Paint::Pink, Trim::Stripes, "blue camper, pink stripes"}, // 4
    {Style::Hatchback, Paint::Pink, Paint::Orange, Trim::Roof, "pink hatchback, orange roof"}, // 5
    {Style::Tractor, Paint::Red, Paint::Teal, Trim::Band, "red tractor, teal band"}, // 6
    {Style::Pickup, Paint::White, Paint::Navy, Trim::Bonnet, "white pickup, navy bonnet"}, // 7
    {Style::Jeep, Paint::Yellow, Paint::Yellow, Trim::Plain, "yellow jeep"}, // 8
    {Style::CityCar, Paint::Lime, Paint::Lime, Trim::Plain, "lime city car"}, // 9
    {Style::Suv, Paint::Red, Paint::SkyBlue, Trim::Bonnet, "red SUV, sky blue bonnet"}, // 10
    {Style::Pickup, Paint::Maroon, Paint::SkyBlue, Trim::Stripes, "maroon pickup, sky blue stripes"}, // 11
    {Style::BoxTruck, Paint::Navy, Paint::Navy, Trim::Plain, "navy box lorry"}, // 12
    {Style::PoliceCar, Paint::White, Paint::White, Trim::Plain, "police car"}, // 13
    {Style::Hatchback, Paint::White, Paint::Yellow, Trim::Bonnet, "white hatchback, yellow bonnet"}, // 14
    {Style::Saloon, Paint::Blue, Paint::Cream, Trim::Bonnet, "blue saloon, cream bonnet"}, // 15
    {Style::Sports, Paint::Brown, Paint::Yellow, Trim::Bonnet, "brown sports car, yellow bonnet"}, // 16
    {Style::Hatchback, Paint::Green, Paint::Green, Trim::Plain, "green hatchback"}, // 17
    {Style::Jeep, Paint::White, Paint::Blue, Trim::Roof, "white jeep, blue seats"}, // 18
    {Style::Tanker, Paint::Black, Paint::Red, Trim::Plain, "black tanker, red tank"}, // 19
    {Style::Van, Paint::White, Paint::Red, Trim::Stripes, "white van, red stripes"}, // 20
    {Style::Van, Paint::Pink, Paint::Pink, Trim::Plain, "pink van"}, // 21
    {Style::Saloon, Paint::Pink, Paint::Olive, Trim::Roof, "pink saloon, olive roof"}, // 22
    {Style::Bus, Paint::Purple, Paint::Purple, Trim::Plain, "purple bus"}, // 23
    {Style::Bus, Paint::Navy, Paint::Green, Trim::Roof, "navy bus, green top"}, // 24
    {Style::Convertible, Paint::Orange, Paint::Olive, Trim::Roof, "orange convertible, olive seats"}, // 25
    {Style::Sports, Paint::White, Paint::Lime, Trim::Roof, "white sports car, lime roof"}, // 26
    {Style::BoxTruck, Paint::Orange, Paint::Orange, Trim::Plain, "orange box lorry"}, // 27
    {Style::Sports, Paint::Lime, Paint::Blue, Trim::Band, "lime sports car, blue band"}, // 28
    {Style::Pickup, Paint::Pink, Paint::Brown, Trim::Stripes, "pink pickup, brown stripes"}, // 29
    {Style::Van, Paint::Blue, Paint::Orange, Trim::Roof, "blue van, orange top"}, // 30
    {Style::Tanker, Paint::SkyBlue, Paint::Lime, Trim::Plain, "sky blue tanker, lime tank"}, // 31
    {Style::Camper, Paint::Yellow, Paint::Blue, Trim::Stripes, "yellow camper, blue stripes"}, // 32
    {Style::Estate, Paint::DarkGreen, Paint::Purple, Trim::Roof, "dark green estate, purple roof"}, // 33
    {Style::Saloon, Paint::Teal, Paint::Blue, Trim::Stripes, "teal saloon, blue stripes"}, // 34
    {Style::Sports, Paint::Purple, Paint::SkyBlue, Trim::Roof, "purple sports car, sky blue roof"}, // 35
    {Style::TowTruck, Paint::Blue, Paint::DarkGreen, Trim::Plain, "blue tow truck, dark green crane"}, // 36
    {Style::Bus, Paint::White, Paint::Black, Trim::Roof, "white bus, black top"}, // 37
    {Style::Taxi, Paint::Black, Paint::Lime, Trim::Plain, "black cab"}, // 38
    {Style::Racer, Paint::Navy, Paint::Red, Trim::Plain, "navy racer, red wings"}, // 39
    {Style::Limousine, Paint::DarkGreen, Paint::Orange, Trim::Roof, "dark green limousine, orange roof"}, // 40
    {Style::Suv, Paint::Yellow, Paint::Pink, Trim::Roof, "yellow SUV, pink roof"}, // 41
    {Style::Saloon, Paint::DarkGreen, Paint::White, Trim::Stripes, "dark green saloon, white stripes"}, // 42
    {Style::CityCar, Paint::Teal, Paint::Blue, Trim::Roof, "teal city car, blue roof"}, // 43
    {Style::Convertible, Paint::Olive, Paint::Blue, Trim::Roof, "olive convertible, blue seats"}, // 44
    {Style::Camper, Paint::Blue, Paint::Red, Trim::Roof, "blue camper, red top"}, // 45
    {Style::Tractor, Paint::White, Paint::Yellow, Trim::Roof, "white tractor, yellow roof"}, // 46
    {Style::Hatchback, Paint::Navy, Paint::Red, Trim::Stripes, "navy hatchback, red stripes"}, // 47
    {Style::Tractor, Paint::Blue, Paint::Red, Trim::Plain, "blue tractor, red wheels"}, // 48
    {Style::Police4x4, Paint::Blue, Paint::Blue, Trim::Plain, "police 4x4"}, // 49
    {Style::CityCar, Paint::Maroon, Paint::Maroon, Trim::Plain, "maroon city car"}, // 50
    {Style::BoxTruck, Paint::Pink, Paint::Red, Trim::Roof, "pink box lorry, red box"}, // 51
    {Style::Hatchback, Paint::Purple, Paint::Brown, Trim::Bonnet, "purple hatchback, brown bonnet"}, // 52
    {Style::Racer, Paint::Brown, Paint::Blue, Trim::Plain, "brown racer, blue wings"}, // 53
    {Style::Estate, Paint::Pink, Paint::Navy, Trim::Roof, "pink estate, navy roof"}, // 54
    {Style::Limousine, Paint::Navy, Paint::Navy, Trim::Plain, "navy limousine"}, // 55
    {Style::Tanker, Paint::Yellow, Paint::Silver, Trim::Plain, "yellow tanker, silver tank"}, // 56
    {Style::Pickup, Paint::Lime, Paint::Navy, Trim::Roof, "lime pickup, navy roof"}, // 57
    {Style::Ambulance, Paint::Yellow, Paint::Red, Trim::Plain, "ambulance"}, // 58
    {Style::Taxi, Paint::Green, Paint::Blue, Trim::Band, "green taxi"}, // 59
    {Style::Suv, Paint::Black, Paint::Green, Trim::Bonnet, "black SUV, green bonnet"}, // 60
    {Style::Pickup, Paint::Purple, Paint::Yellow, Trim::Roof, "purple pickup, yellow roof"}, // 61
    {Style::BoxTruck, Paint::Cream, Paint::Purple, Trim::Roof, "cream box lorry, purple box"}, // 62
    {Style::Jeep, Paint::Blue, Paint::Blue, Trim::Plain, "blue jeep"}, // 63
    {Style::Convertible, Paint::SkyBlue, Paint::White, Trim::Roof, "sky blue convertible, white seats"}, // 64
    {Style::Suv, Paint::White, Paint::Orange, Trim::Roof, "white SUV, orange roof"}, // 65
    {Style::Racer, Paint::Teal, Paint::Yellow, Trim::Band, "teal racer, yellow wings, yellow band"}, // 66
    {Style::Estate, Paint::Cream, Paint::Navy, Trim::Band, "cream estate, navy band"}, // 67
    {Style::Jeep, Paint::Teal, Paint::Yellow, Trim::Roof, "teal jeep, yellow seats"}, // 68
    {Style::IceCream, Paint::Orange, Paint::Teal, Trim::Roof, "ice cream van"}, // 69
    {Style::Van, Paint::SkyBlue, Paint::Yellow, Trim::Stripes, "sky blue van, yellow stripes"}, // 70
    {Style::Racer, Paint::Lime, Paint::Blue, Trim::Plain, "lime racer, blue wings"}, // 71
    {Style::Sports, Paint::Navy, Paint::Brown, Trim::Bonnet, "navy sports car, brown bonnet"}, // 72
    {Style::Convertible, Paint::Maroon, Paint::Orange, Trim::Roof, "maroon convertible, orange seats"}, // 73
    {Style::Estate, Paint::Brown, Paint::Brown, Trim::Plain, "brown estate"}, // 74
    {Style::Convertible, Paint::Pink, Paint::Yellow, Trim::Band, "pink convertible, yellow band"}, // 75
    {Style::Estate, Paint::SkyBlue, Paint::Cream, Trim::Wood, "sky blue woody estate"}, // 76
    {Style::Tractor, Paint::Lime, Paint::Red, Trim::Plain, "lime tractor, red wheels"}, // 77
    {Style::Van, Paint::Navy, Paint::Teal, Trim::Stripes, "navy van, teal stripes"}, // 78
    {Style::Bus, Paint::Cream, Paint::Cream, Trim::Plain, "cream bus"}, // 79
    {Style::Suv, Paint::Yellow, Paint::Red, Trim::Band, "yellow SUV, red band"}, // 80
    {Style::Suv, Paint::SkyBlue, Paint::Orange, Trim::Bonnet, "sky blue SUV, orange bonnet"}, // 81
    {Style::Limousine, Paint::Cream, Paint::Red, Trim::Roof, "cream limousine, red roof"}, // 82
}};

inline const CarDesign& DesignOf(int carId)
{
    if (carId < 1 || carId > CarCount)
        throw std::out_of_range("no such car");
    return CarDesigns[static_cast<size_t>(carId - 1)];
}

inline Body CarBody(int carId) { return BodyOf(DesignOf(carId).Kind); }
