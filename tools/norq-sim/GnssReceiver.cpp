#include "GnssReceiver.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "SentenceWriter.h"
#include "SimClock.h"

namespace norq::sim {

namespace {

constexpr const char* kTalker = "GP";

// "ddmm.mmmm,N" / "dddmm.mmmm,E": rounded to the last digit first, so that
// 59.99999 minutes become the next whole degree rather than "60.0000".
std::string Coordinate(double value, int degreeDigits, char positive, char negative) {
    const long long tenThousandths = std::llround(std::fabs(value) * 600000.0);
    const long long degrees = tenThousandths / 600000;
    const long long rest = tenThousandths % 600000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld%02lld.%04lld,%c", degreeDigits, degrees, rest / 10000,
                  rest % 10000, value < 0 ? negative : positive);
    return buf;
}

std::string Latitude(double lat) {
    return Coordinate(lat, 2, 'N', 'S');
}
std::string Longitude(double lon) {
    return Coordinate(lon, 3, 'E', 'W');
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buf[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

void AppendSky(const std::vector<SatelliteView>& view, const std::vector<int>& used, bool fix,
               double hdop, std::vector<std::string>& s) {
    std::string gsa = Format("$%sGSA,A,%d", kTalker, fix ? 3 : 1);
    for (std::size_t i = 0; i < 12; ++i)
        gsa += i < used.size() ? Format(",%02d", used[i]) : std::string(",");
    gsa += fix ? Format(",%.1f,%.1f,%.1f", std::max(0.5, hdop) * 1.6, std::max(0.5, hdop),
                        std::max(0.5, hdop) * 1.3)
               : std::string(",,,");
    s.push_back(gsa);
    const int total = static_cast<int>((view.size() + 3) / 4);
    for (int k = 0; k < total; ++k) {
        std::string gsv = Format("$%sGSV,%d,%d,%02zu", kTalker, total, k + 1, view.size());
        for (std::size_t i = static_cast<std::size_t>(k) * 4;
             i < view.size() && i < static_cast<std::size_t>(k + 1) * 4; ++i) {
            const SatelliteView& v = view[i];
            gsv += Format(",%02d,%02d,%03d,", v.prn, v.elevation, v.azimuth);
            if (v.snr > 0) gsv += Format("%02d", v.snr);
        }
        s.push_back(gsv);
    }
}

}  // namespace

GnssReceiver::GnssReceiver(const Scenario& scenario)
    : scenario_(scenario), noise_(scenario.seed, 5), damage_(scenario.seed, 7) {
    Prng rng(scenario.seed, 6);
    std::vector<int> prns;
    for (int p = 1; p <= 32; ++p)
        prns.push_back(p);
    for (int i = 31; i > 0; --i)
        std::swap(prns[static_cast<std::size_t>(i)],
                  prns[static_cast<std::size_t>(rng.integer(0, i))]);
    const int count = std::clamp(scenario.gnss.satellites, 4, 16);
    for (int i = 0; i < count; ++i) {
        Satellite s;
        s.prn = prns[static_cast<std::size_t>(i)];
        s.azimuth = rng.uniform(0.0, 360.0);
        s.elevation = rng.uniform(8.0, 85.0);
        s.drift = rng.uniform(-0.5, 0.5);
        s.phase = rng.uniform(0.0, 6.28);
        satellites_.push_back(s);
    }
    std::sort(satellites_.begin(), satellites_.end(),
              [](const Satellite& a, const Satellite& b) { return a.prn < b.prn; });
}

bool GnssReceiver::hasFix(double t) const {
    for (const TimeWindow& w : scenario_.gnss.fixLoss) {
        if (t >= w.from && t < w.to) return false;
    }
    return true;
}

std::vector<SatelliteView> GnssReceiver::sky(double t) const {
    std::vector<SatelliteView> out;
    const bool fix = hasFix(t);
    for (const Satellite& s : satellites_) {
        SatelliteView v;
        v.prn = s.prn;
        v.azimuth = static_cast<int>(NormalizeCourse(s.azimuth + s.drift * t / 60.0)) % 360;
        const double el = s.elevation + 4.0 * std::sin(t / 2400.0 + s.phase);
        v.elevation = std::clamp(static_cast<int>(std::lround(el)), 1, 89);
        const double snr = 24.0 + v.elevation / 3.5 + 3.0 * std::sin(t / 37.0 + s.phase * 5.0);
        v.snr = fix ? std::clamp(static_cast<int>(snr), 12, 52)
                    : (v.elevation > 60 ? std::clamp(static_cast<int>(snr) - 25, 0, 20) : 0);
        out.push_back(v);
    }
    return out;
}

void GnssReceiver::tick(double t, const Kinematics& own, LineBatch& out) {
    const UtcTime u = UtcFromEpoch(static_cast<double>(scenario_.startEpoch) + t);
    const std::string time = Format("%02d%02d%02d.00", u.hour, u.minute, u.second);
    const std::string date = Format("%02d%02d%02d", u.day, u.month, u.year % 100);
    const bool fix = hasFix(t);
    const std::vector<SatelliteView> view = sky(t);
    std::vector<int> used;
    for (const SatelliteView& v : view) {
        if (fix && v.elevation >= 10 && used.size() < 12) used.push_back(v.prn);
    }
    // A few metres of position noise, as any receiver shows.
    GeoPoint p = Destination(own.position, noise_.uniform(0.0, 360.0), noise_.uniform(0.0, 0.0015));
    const double hdop = std::round((scenario_.gnss.hdop + noise_.uniform(-0.1, 0.1)) * 10.0) / 10.0;
    const double sog = std::max(0.0, own.sog + noise_.normal(0.0, 0.05));
    const double cog = NormalizeCourse(own.cog + noise_.normal(0.0, 0.3));
    const std::string pos = Latitude(p.lat) + "," + Longitude(p.lon);
    std::vector<std::string> s;
    if (fix) {
        s.push_back(Format("$%sGGA,%s,%s,1,%02zu,%.1f,%.1f,M,47.0,M,,", kTalker, time.c_str(),
                           pos.c_str(), used.size(), std::max(0.5, hdop), scenario_.gnss.altitude));
        s.push_back(Format("$%sGLL,%s,%s,A,A", kTalker, pos.c_str(), time.c_str()));
    } else {
        s.push_back(Format("$%sGGA,%s,,,,,0,00,,,M,,M,,", kTalker, time.c_str()));
        s.push_back(Format("$%sGLL,,,,,%s,V,N", kTalker, time.c_str()));
    }
    AppendSky(view, used, fix, hdop, s);
    if (fix) {
        s.push_back(Format("$%sRMC,%s,A,%s,%.1f,%.1f,%s,,,A", kTalker, time.c_str(), pos.c_str(),
                           sog, cog, date.c_str()));
        s.push_back(Format("$%sVTG,%.1f,T,,M,%.1f,N,%.1f,K,A", kTalker, cog, sog, sog * 1.852));
    } else {
        s.push_back(Format("$%sRMC,%s,V,,,,,,,%s,,,N", kTalker, time.c_str(), date.c_str()));
        s.push_back(Format("$%sVTG,,T,,M,,N,,K,N", kTalker));
    }
    s.push_back(
        Format("$%sZDA,%s,%02d,%02d,%04d,00,00", kTalker, time.c_str(), u.day, u.month, u.year));
    s.push_back(fix ? Format("$%sHDT,%.1f,T", kTalker, NormalizeCourse(own.heading))
                    : Format("$%sHDT,,T", kTalker));
    for (const std::string& body : s) {
        std::string line = WithChecksum(body);
        if (scenario_.damagedLines > 0.0 && damage_.chance(scenario_.damagedLines))
            line = DamageLine(line, damage_);
        out.push_back({t, Device::Gnss, line});
    }
}

}  // namespace norq::sim
