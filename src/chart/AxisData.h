// CAxisData: the plane projection of the chart view and of its off-screen
// layers. It maps latitude/longitude to integer pixels and back around a centre,
// at one of fifteen range scales (nautical miles between two range rings, 60
// pixels apart), optionally rotated about the middle of the view.
//
// The arithmetic is the chart's pixel geometry exactly: 32-bit float tables,
// truncation towards zero, integer halves. Two guards keep the bounds finite: a
// centre is clamped to the latitude limit of the current scale (at a pole the
// longitude scale would be zero), and nothing is recomputed from a centre that
// was never set.
#pragma once

#include <array>
#include <cstdint>

namespace norq::chart {

inline constexpr int kScaleCount = 15;
inline constexpr int kRingSpacing = 60;  // pixels between two range rings
inline constexpr int kDefaultScaleIndex = 7;

// Nautical miles per ring, longitude and latitude grid steps (degrees), by index.
inline constexpr std::array<float, kScaleCount> kRingDistanceNm{
    800.0f, 400.0f, 200.0f, 96.0f, 48.0f, 24.0f,  12.0f, 6.0f,
    3.0f,   1.5f,   0.75f,  0.5f,  0.25f, 0.125f, 0.05f};
inline constexpr std::array<float, kScaleCount> kLongitudeGridStep{
    50.0f, 40.0f,  20.0f, 10.0f, 5.0f,   2.0f,    1.0f,   0.5f,
    0.25f, 0.125f, 0.1f,  0.05f, 0.025f, 0.0125f, 0.0125f};
inline constexpr std::array<float, kScaleCount> kLatitudeGridStep{
    20.0f,  15.0f,   10.0f,    5.0f,      2.0f,       1.0f,       0.5f,      0.25f,
    0.125f, 0.0625f, 0.03125f, 0.020833f, 0.0104165f, 0.0052082f, 0.0026041f};

// The view centre's latitude limit at a ring distance (nm): ±60 at 800 nm ...
// ±83.75 below 3 nm.
double LatitudeLimit(float ringDistanceNm);
// The latitude brought within ±LatitudeLimit.
double ClampLatitude(double latitude, float ringDistanceNm);

struct PixelXY {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelXY&, const PixelXY&) = default;
};

struct GeoPoint {
    double lon = 0.0;
    double lat = 0.0;
};

class CAxisData {
  public:
    CAxisData();

    void setPixelRect(int left, int top, int right, int bottom);
    // Ignored unless both are positive; recomputes the bounds.
    void setSize(int width, int height);
    // False without change for a latitude outside [-90, 90] (or not a number).
    // The latitude is clamped to the scale's limit; the longitude is kept in
    // [-180, 180] after the bounds were computed around the value as given.
    bool setCentre(double lon, double lat);
    // An index outside 0..14 is ignored; the centre is clamped again.
    void setScaleIndex(int index);
    // Degrees; 0 or 360 draw north up. Sets the rotation and inverse pairs and
    // recomputes the rotated bounds.
    void setRotation(float angle);

    float ringDistance() const { return kRingDistanceNm[static_cast<std::size_t>(scaleIndex_)]; }
    static constexpr int scaleCount() { return kScaleCount; }
    int scaleIndex() const { return scaleIndex_; }
    float rotation() const { return rotation_; }
    bool rotated() const { return rotation_ != 0.0f && rotation_ != 360.0f; }
    bool hasCentre() const { return centreLat_ <= 90.0; }

    PixelXY geoToPixel(double lon, double lat) const;
    GeoPoint pixelToGeo(int x, int y) const;
    // A point rotated about the centre with the rotation pair.
    GeoPoint rotateAboutCentre(double lon, double lat) const;
    // The longitude moved to the side of the antimeridian that the view shows.
    double wrapLongitude(double lon) const;
    // geoToPixel of the wrapped longitude.
    PixelXY project(double lon, double lat) const { return geoToPixel(wrapLongitude(lon), lat); }

    double centreLon() const { return centreLon_; }
    double centreLat() const { return centreLat_; }
    double top() const { return top_; }
    double bottom() const { return bottom_; }
    double left() const { return left_; }
    double right() const { return right_; }
    double latitudeSpan() const { return top_ - bottom_; }
    double longitudeSpan() const { return right_ - left_; }
    double rotatedTop() const { return rTop_; }
    double rotatedBottom() const { return rBottom_; }
    double rotatedLeft() const { return rLeft_; }
    double rotatedRight() const { return rRight_; }
    double xScale() const { return xScale_; }
    double yScale() const { return yScale_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int pixelLeft() const { return pixelLeft_; }
    int pixelTop() const { return pixelTop_; }
    int pixelRight() const { return pixelRight_; }
    int pixelBottom() const { return pixelBottom_; }
    int ringSpacing() const { return kRingSpacing; }

    // Shifts the plain and rotated longitude bounds (the sea chart's wrapped pass).
    void shiftLongitudeBounds(double degrees);

  private:
    bool computeBounds(double lon, double lat);

    float cos_ = 1.0f, sin_ = 0.0f;        // geographic to pixel
    float invCos_ = 1.0f, invSin_ = 0.0f;  // pixel to geographic
    float rotation_ = 0.0f;
    double centreLat_ = 91.0;
    double centreLon_ = 181.0;
    double top_ = 91.0, bottom_ = -91.0;
    double right_ = 181.0, left_ = -181.0;
    int pixelTop_ = 0, pixelBottom_ = 0, pixelLeft_ = 0, pixelRight_ = 0;
    int width_ = 1, height_ = 1;
    double xScale_ = 0.0, yScale_ = 0.0;
    std::int8_t scaleIndex_ = kDefaultScaleIndex;
    double rTop_ = 91.0, rBottom_ = -91.0, rRight_ = 181.0, rLeft_ = -181.0;
};

}  // namespace norq::chart
