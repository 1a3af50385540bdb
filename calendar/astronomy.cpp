#include "calendar/astronomy.h"

#include <erfa.h>
#include <erfam.h>

#include <array>
#include <cmath>

namespace hmf::calendar::astro {
namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kTwoPi = 2.0 * ERFA_DPI;

// ΔT in seconds as cubic pieces: start year, then a + b·t + c·t² + d·t³ with t running from 0 to
// 10 across the piece. Observed values to 2016 (Morrison & Stephenson, IERS), then a fit to the
// predictions that accompany the DE440s ephemeris up to 2050.
struct DeltaTPiece
{
    double year, a, b, c, d;
};
constexpr std::array<DeltaTPiece, 18> kDeltaT{{
    {1880, -5.4, 0.32, -0.183, 0.0173},
    {1900, -2.3, 2.06, 0.169, -0.0135},
    {1920, 21.2, 1.69, -0.304, 0.0167},
    {1940, 24.2, 1.22, -0.064, 0.0031},
    {1960, 33.2, 0.51, 0.231, -0.0109},
    {1980, 51.0, 1.29, -0.026, 0.0032},
    {2000, 63.87, 0.1, 0, 0},
    {2005, 64.7, 0.21, 0, 0},
    {2012, 66.8, 0.22, 0, 0},
    {2016, 68.1024, 0.5456, -0.0542, -0.001172},
    {2020, 69.3612, 0.0422, -0.0502, 0.006216},
    {2024, 69.1752, -0.0335, -0.0048, 0.000811},
    {2028, 69.0206, -0.0275, 0.0055, -0.000014},
    {2032, 68.9981, 0.0163, 0.0054, 0.000006},
    {2036, 69.1498, 0.0599, 0.0053, 0.000026},
    {2040, 69.4751, 0.1035, 0.0051, 0.000046},
    {2044, 69.9737, 0.1469, 0.0050, 0.000066},
    {2048, 70.6451, 0.1903, 0.0049, 0.000085},
}};
constexpr double kDeltaTEndYear = 2050.0;
constexpr double kDeltaT2050 = 71.0457;

// The long-term parabola of Morrison & Stephenson, joined to the 2050 value by a linear term
// that fades out by 2150.
double parabola(double year)
{
    double u = (year - 1820.0) / 100.0;
    return -20.0 + 31.0 * u * u;
}

void normalise(double p[3], double& length, double unit[3])
{
    eraPn(p, &length, unit);
}

// Longitude on the true ecliptic and equinox of date of a GCRS direction.
double eclipticOfDate(double d1, double d2, const double gcrs[3])
{
    double dpsi, deps, epsa;
    double rb[3][3], rp[3][3], rbp[3][3], rn[3][3], rbpn[3][3];
    eraPn00b(d1, d2, &dpsi, &deps, &epsa, rb, rp, rbp, rn, rbpn);
    double q[3];
    double p[3] = {gcrs[0], gcrs[1], gcrs[2]};
    eraRxp(rbpn, p, q);
    double eps = epsa + deps;
    return eraAnp(std::atan2(q[1] * std::cos(eps) + q[2] * std::sin(eps), q[0]));
}

double wrapPi(double angle)
{
    return std::remainder(angle, kTwoPi);
}

} // namespace

double deltaT(double jd)
{
    double year = 2000.0 + (jd - kJ2000) / 365.2425;
    if (year >= kDeltaTEndYear) {
        if (year > 2150.0)
            return parabola(year);
        return parabola(year) - (parabola(kDeltaTEndYear) - kDeltaT2050) * (2150.0 - year) / 100.0;
    }
    std::size_t i = 0;
    while (i + 1 < kDeltaT.size() && year >= kDeltaT[i + 1].year)
        ++i;
    double end = i + 1 < kDeltaT.size() ? kDeltaT[i + 1].year : kDeltaTEndYear;
    const DeltaTPiece& p = kDeltaT[i];
    double t = (year - p.year) / (end - p.year) * 10.0;
    return p.a + t * (p.b + t * (p.c + t * p.d));
}

double sunLongitude(double jdTT)
{
    double d2 = jdTT - kJ2000;
    double pvh[2][3], pvb[2][3];
    eraEpv00(kJ2000, d2, pvh, pvb);
    // The Sun seen from the Earth; its own barycentric drift during the light time is a few km.
    double toSun[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
    double distance, unit[3];
    normalise(toSun, distance, unit);
    double v[3];
    for (int i = 0; i < 3; ++i)
        v[i] = pvb[1][i] * ERFA_AULT / ERFA_DAYSEC;
    double apparent[3];
    eraAb(unit, v, distance, std::sqrt(1.0 - eraPdp(v, v)), apparent);
    return eclipticOfDate(kJ2000, d2, apparent);
}

double moonLongitude(double jdTT)
{
    double d2 = jdTT - kJ2000;
    double pv[2][3];
    eraMoon98(kJ2000, d2, pv);
    // Light time, about 1.3 s, moves the Moon by most of an arcsecond; step back along its motion.
    double lightDays = eraPm(pv[0]) * ERFA_AULT / ERFA_DAYSEC;
    double seen[3];
    for (int i = 0; i < 3; ++i)
        seen[i] = pv[0][i] - pv[1][i] * lightDays;
    return eclipticOfDate(kJ2000, d2, seen);
}

// Secant steps towards f(t) = 0 from a guess and the mean rate of f; f is smooth and changes by
// 2π per period, so a few steps reach a thousandth of an arcsecond.
template <typename F> double solve(F f, double guess, double meanRate)
{
    double t0 = guess;
    double f0 = f(t0);
    double t1 = t0 - f0 / meanRate;
    for (int i = 0; i < 30; ++i) {
        double f1 = f(t1);
        if (std::abs(f1) < 5e-10 || f1 == f0)
            break;
        double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
        t0 = t1;
        f0 = f1;
        t1 = t2;
    }
    return t1;
}

double sunReaches(double degrees, double guessTT)
{
    const double target = degrees * ERFA_DD2R;
    return solve([&](double t) { return wrapPi(sunLongitude(t) - target); }, guessTT,
                 kTwoPi / 365.2422);
}

double newMoonNear(double guessTT)
{
    return solve([](double t) { return wrapPi(moonLongitude(t) - sunLongitude(t)); }, guessTT,
                 kTwoPi / 29.530589);
}

} // namespace hmf::calendar::astro
