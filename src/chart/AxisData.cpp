#include "chart/AxisData.h"

#include <algorithm>
#include <cmath>

#include "ais/Geometry.h"

namespace norq::chart {

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
// Far beyond any pixel of a view, still well inside int.
constexpr double kPixelLimit = 1.0e9;
// Half a pixel rounds up: the projection of a point that lies exactly on a half
// pixel must not depend on the last bit of the double arithmetic before it.
constexpr double kHalfPixel = 0.5 + 1.0e-7;

// trunc() to int for pixel arithmetic; NaN and huge values end at the limit.
int TruncPixel(double value) {
    if (!(value > -kPixelLimit)) return static_cast<int>(-kPixelLimit);
    if (value > kPixelLimit) return static_cast<int>(kPixelLimit);
    return static_cast<int>(std::trunc(value));
}

// Nautical miles across one degree of longitude and of latitude at a point; the
// western and southern ends are kept at -180 and -90, the span stays one degree.
void NmPerDegree(double lon, double lat, double& kx, double& ky) {
    const double west = std::max(lon - 0.5, -180.0);
    const double south = std::max(lat - 0.5, -90.0);
    kx = ais::GreatCircleKm(west, lat, west + 1.0, lat) * ais::kNmPerKm;
    ky = ais::GreatCircleKm(lon, south, lon, south + 1.0) * ais::kNmPerKm;
}

}  // namespace

double LatitudeLimit(float s) {
    if (s >= 800.0f) return 60.0;
    if (s >= 400.0f) return 75.0;
    if (s >= 200.0f) return 70.0;
    if (s >= 96.0f) return 80.0;
    if (s >= 48.0f) return 81.0;
    if (s >= 24.0f) return 82.0;
    if (s >= 12.0f) return 83.0;
    if (s >= 3.0f) return 83.5;
    return 83.75;
}

double ClampLatitude(double latitude, float ringDistanceNm) {
    const double limit = LatitudeLimit(ringDistanceNm);
    if (latitude > limit) return limit;
    if (latitude < -limit) return -limit;
    return latitude;
}

CAxisData::CAxisData() = default;

void CAxisData::setPixelRect(int left, int top, int right, int bottom) {
    pixelLeft_ = left;
    pixelTop_ = top;
    pixelRight_ = right;
    pixelBottom_ = bottom;
}

void CAxisData::setSize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    computeBounds(centreLon_, centreLat_);
}

bool CAxisData::setCentre(double lon, double lat) {
    if (!(lat >= -90.0 && lat <= 90.0) || !std::isfinite(lon)) return false;
    // A longitude several turns away is first brought near the globe.
    if (std::fabs(lon) > 540.0) lon = std::remainder(lon, 360.0);
    lat = ClampLatitude(lat, ringDistance());
    if (!computeBounds(lon, lat)) return false;
    if (lon < -180.0) {
        lon += 360.0;
    } else if (lon > 180.0) {
        lon -= 360.0;
    }
    centreLon_ = lon;
    centreLat_ = lat;
    return true;
}

void CAxisData::setScaleIndex(int index) {
    if (index < 0 || index >= kScaleCount) return;
    scaleIndex_ = static_cast<std::int8_t>(index);
    if (!hasCentre()) return;
    centreLat_ = ClampLatitude(centreLat_, ringDistance());
    computeBounds(centreLon_, centreLat_);
}

void CAxisData::setRotation(float angle) {
    if (!std::isfinite(angle)) angle = 0.0f;
    rotation_ = angle;
    const double a = static_cast<double>(angle) * kRadiansPerDegree;
    cos_ = static_cast<float>(std::cos(a));
    sin_ = static_cast<float>(std::sin(a));
    invCos_ = static_cast<float>(std::cos(-a));
    invSin_ = static_cast<float>(std::sin(-a));
    if (hasCentre()) computeBounds(centreLon_, centreLat_);
}

bool CAxisData::computeBounds(double lon, double lat) {
    if (!(lat <= 90.0)) return false;
    double kx = 0.0;
    double ky = 0.0;
    NmPerDegree(lon, lat, kx, ky);
    if (!(kx > 1e-9) || !(ky > 1e-9)) return false;
    const double p = static_cast<double>(ringDistance()) / kRingSpacing;
    const int hw = width_ / 2;
    const int hh = height_ / 2;
    left_ = lon - hw * p / kx;
    right_ = lon + hw * p / kx;
    bottom_ = lat - hh * p / ky;
    top_ = lat + hh * p / ky;
    if (rotated()) {
        const long long diagonal = static_cast<long long>(std::sqrt(
            static_cast<double>(width_) * width_ + static_cast<double>(height_) * height_));
        const long long r = (diagonal + 1) / 2;
        rLeft_ = lon - p * r / kx;
        rRight_ = lon + r * p / kx;
        rBottom_ = lat - p * r / ky;
        rTop_ = lat + p * r / ky;
    } else {
        rLeft_ = left_;
        rRight_ = right_;
        rBottom_ = bottom_;
        rTop_ = top_;
    }
    xScale_ = (pixelRight_ - pixelLeft_) / (right_ - left_);
    yScale_ = (pixelBottom_ - pixelTop_) / (top_ - bottom_);
    return true;
}

PixelXY CAxisData::geoToPixel(double lon, double lat) const {
    int x = TruncPixel((lon - left_) * xScale_ + kHalfPixel);
    int y = TruncPixel((top_ - lat) * yScale_ + kHalfPixel);
    if (rotated()) {
        const int cx = (pixelRight_ - pixelLeft_) / 2;
        const int cy = (pixelBottom_ - pixelTop_) / 2;
        const double dx = static_cast<double>(x) - cx;
        const double dy = static_cast<double>(y) - cy;
        x = TruncPixel(cos_ * dx - sin_ * dy + cx);
        y = TruncPixel(sin_ * dx + cos_ * dy + cy);
    }
    return {x, y};
}

GeoPoint CAxisData::pixelToGeo(int x, int y) const {
    if (rotated()) {
        const int cx = (pixelRight_ - pixelLeft_) / 2;
        const int cy = (pixelBottom_ - pixelTop_) / 2;
        const double dx = static_cast<double>(x) - cx;
        const double dy = static_cast<double>(y) - cy;
        const int rx = TruncPixel(invCos_ * dx - invSin_ * dy + cx);
        const int ry = TruncPixel(invSin_ * dx + invCos_ * dy + cy);
        x = rx;
        y = ry;
    }
    return {(x - pixelLeft_) / xScale_ + left_, top_ - (y - pixelTop_) / yScale_};
}

GeoPoint CAxisData::rotateAboutCentre(double lon, double lat) const {
    const double dLon = lon - centreLon_;
    const double dLat = lat - centreLat_;
    return {centreLon_ + (dLon * cos_ - dLat * sin_), centreLat_ + (dLon * sin_ + dLat * cos_)};
}

double CAxisData::wrapLongitude(double lon) const {
    if (right_ > 180.0 && lon < 0.0) return lon + 360.0;
    if (left_ < -180.0 && lon > 0.0) return lon - 360.0;
    return lon;
}

void CAxisData::shiftLongitudeBounds(double degrees) {
    left_ += degrees;
    right_ += degrees;
    rLeft_ += degrees;
    rRight_ += degrees;
}

}  // namespace norq::chart
