#pragma once
// Positions of the Sun and the Moon as the Chinese calendar needs them: the apparent geocentric
// ecliptic longitude referred to the true equinox of date, and the moments when it reaches a
// given value. Times are Julian dates; "TT" marks Terrestrial Time, everything else is UT.

namespace hmf::calendar::astro {

// TT - UT in seconds at a Julian date (TT or UT alike: ΔT changes far too slowly to matter).
double deltaT(double jd);

// Apparent longitudes in radians, 0 .. 2π.
double sunLongitude(double jdTT);
double moonLongitude(double jdTT);

// The moment (TT) near `guessTT` when the Sun's apparent longitude is `degrees`.
double sunReaches(double degrees, double guessTT);

// The new moon (TT) nearest to `guessTT` (within half a lunation).
double newMoonNear(double guessTT);

} // namespace hmf::calendar::astro
