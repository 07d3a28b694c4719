#pragma once
// The unit relations of the decoded values, in one place.
//
// DistanceAccumulator sums milliseconds x km/h: 3600 of them make a metre.
// FuelAccumulator sums milliseconds x injector value x rpm: 1 296 000 000 of them make a
// millilitre, 1.296e12 a litre. Litres per 100 km of two such sums: fuel / (distance x 3600).
// Each function divides exactly as the figures have always been computed, so that the
// logs and the dashboard keep every digit.

namespace vcm::units {

inline constexpr double DistanceUnitsPerMetre = 3600;
inline constexpr double DistanceUnitsPerKilometre = 3600000;
inline constexpr double FuelUnitsPerMillilitre = 1296000000.0;
inline constexpr double FuelUnitsPerLitre = 1.296e12;
inline constexpr double KilometresPerMile = 1.609344;
inline constexpr double LitresPerUsGallon = 3.785411784;
// Thousandths per second to units per hour: m/s to km/h, ml/s to l/h.
inline constexpr double PerHourPerThousandthPerSecond = 3.6;

constexpr double metres(double distanceAccumulator) { return distanceAccumulator / DistanceUnitsPerMetre; }
constexpr double kilometres(double distanceAccumulator) { return distanceAccumulator / DistanceUnitsPerKilometre; }
constexpr double millilitres(double fuelAccumulator) { return fuelAccumulator / FuelUnitsPerMillilitre; }
constexpr double litres(double fuelAccumulator) { return fuelAccumulator / FuelUnitsPerLitre; }
// Of two accumulator sums (or differences); the caller makes sure distance is not 0.
constexpr double litresPer100Km(double fuel, double distance) { return fuel / (distance * DistanceUnitsPerMetre); }

// Litres per 100 km of the moment: injector x rpm / 360 000 is litres per hour.
constexpr double instantLitresPer100Km(double injector, double rpm, double kmh) { return injector * rpm / kmh / 3600; }

constexpr double kmToMiles(double km) { return km / KilometresPerMile; }
constexpr double litresToGallons(double litres) { return litres / LitresPerUsGallon; }
constexpr double celsiusToFahrenheit(double c) { return c * 9 / 5 + 32; }
// Tenths of a degree: 0 C is 320 tenths F.
constexpr double tenthsCelsiusToFahrenheit(double tenths) { return tenths * 9 / 5.0 + 320; }
// x in Fahrenheit (zero = the Fahrenheit figure of 0 C in the same scale: 32 or 320).
constexpr double fahrenheitToCelsius(double x, double zero) { return (x - zero) * 5 / 9; }
constexpr double celsiusToFahrenheit(double x, double zero) { return x * 9 / 5 + zero; }

} // namespace vcm::units
