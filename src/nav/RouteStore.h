// Routes: ordered waypoints with a name, a place of departure and a
// destination. The store keeps up to 200 saved routes and the route being built
// on the chart, measures each leg (rhumb-line distance and bearing from the
// previous waypoint), answers the chart's hit test, reverses and deletes routes,
// and keeps them in the folder's route files:
//
//   index file, one line per saved route:
//       name,file name,depart,destination,created time,waypoint count,visible,
//   waypoint file, one 24-byte record per waypoint in route order, little-endian:
//       latitude (double), longitude (double), leg distance nm (float),
//       leg bearing deg (float)
//
// Files are written whole to a temporary file and renamed over the old one; every
// write reports whether it succeeded. Reading takes what is sound in a file and
// never trusts its counts or values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norq::nav {

inline constexpr int kMaxRoutes = 200;
inline constexpr std::size_t kRouteTextLimit = 30;  // name, depart, destination (characters)
inline constexpr std::size_t kWaypointRecordBytes = 24;
// A route file beyond this many waypoints is not ours: only the first are read.
inline constexpr std::size_t kMaxWaypoints = 10000;
inline constexpr std::size_t kMaxIndexFileBytes = 1 << 20;
inline constexpr double kKmToNm = 0.5399568034557235157;
inline constexpr double kDefaultPlanSpeedKn = 5.0;
inline constexpr std::string_view kRouteIndexFileName = "Routes.csv";

struct Waypoint {
    int x = 0;  // projected pixel, recomputed on every drawing
    int y = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    float legDistance = 0.0f;  // nautical miles from the previous waypoint (0 for the first)
    float legBearing = 0.0f;   // degrees true from the previous waypoint (0 for the first)
};

struct Route {
    std::string name;
    std::string fileName;  // the waypoint file, relative to the route folder
    std::string depart;
    std::string destination;
    std::string createdTime;
    bool visible = true;
    std::vector<Waypoint> waypoints;

    // The sum of the leg distances, nautical miles.
    double totalDistance() const;
};

// ---- Leg arithmetic ---------------------------------------------------------------

// Bearing in degrees true from the first position to the second, from the east and
// north legs of the plane sailing (the longitude difference taken the short way
// round the antimeridian).
float WaypointBearing(float lon1, float lat1, float lon2, float lat2);
// The leg distance in nautical miles between two positions, the short way round.
float LegDistanceNm(float lon1, float lat1, float lon2, float lat2);
// Every leg of the list measured again from the positions (the first gets 0, 0).
void RecomputeLegs(std::vector<Waypoint>& waypoints);

// The plan speed as typed: a speed that is empty, not a number, zero or negative
// counts as the default 5 knots.
double PlanSpeedKnots(std::string_view text);
// trunc(distance / speed x 3600) seconds; 0 for a negative or non-finite distance.
std::int64_t RouteTimeSeconds(double distanceNm, double speedKn);
// "%3d %s  %2d %s" with hours, the hour unit, minutes and the minute unit.
std::string FormatRouteTime(std::int64_t seconds, std::string_view hourUnit,
                            std::string_view minuteUnit);
// The plan speed edit's filter: digits and one decimal point. Returns the text to
// keep (the previous text when the new one holds anything else).
std::string FilterPlanSpeed(std::string_view previous, std::string_view typed);

// ---- Files ------------------------------------------------------------------------

// A name, depart or destination as the index file keeps it: at most 30
// characters (UTF-8 aware), without the commas and line breaks that would split
// the line.
std::string CleanRouteText(std::string_view text);

std::string EncodeWaypoints(const std::vector<Waypoint>& waypoints);
struct WaypointReadResult {
    std::vector<Waypoint> waypoints;
    bool damaged = false;  // a record was cut, out of range or not a number
};
// Whole records only; a record with a position off the globe or a non-finite value
// is dropped, and after any loss the legs are measured again from the positions.
WaypointReadResult DecodeWaypoints(std::string_view bytes);

std::string EncodeRouteIndex(const std::vector<Route>& routes);
// The routes of an index text, without their waypoints: lines with fewer than
// seven fields or an unusable file name are skipped; at most 200 are taken.
std::vector<Route> DecodeRouteIndex(std::string_view text);

// ---- The store --------------------------------------------------------------------

// Tool state of the route tool on the chart.
enum class RouteToolState : int { Released = 0, Armed = 1, Pending = 2, Idle = 99 };

// What the hit test found.
enum class RouteHit : int { Nothing = 0, SingleWaypoint = 1, Waypoint = 2, Leg = 3 };

enum class AddWaypointResult { Added, Full };

class RouteStore {
  public:
    // The folder that holds the index file and the waypoint files (ends with '/'
    // or is empty for the working folder).
    void setFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& folder() const { return folder_; }
    std::string indexPath() const { return folder_ + std::string(kRouteIndexFileName); }

    // Reads the index file and every route's waypoint file. Returns the number of
    // waypoint files that were damaged or missing.
    int load();
    bool saveIndex() const;
    bool saveWaypoints(int index) const;

    const std::vector<Route>& routes() const { return routes_; }
    int count() const { return static_cast<int>(routes_.size()); }
    Route& route(int index) { return routes_[static_cast<std::size_t>(index)]; }
    const Route& route(int index) const { return routes_[static_cast<std::size_t>(index)]; }
    bool valid(int index) const { return index >= 0 && index < count(); }

    // The route under construction.
    const std::vector<Waypoint>& building() const { return building_; }
    std::vector<Waypoint>& building() { return building_; }
    // Appends a waypoint to the route under construction; refused when 200 routes
    // are saved (the caller shows the warning and releases the tool).
    AddWaypointResult addWaypoint(int x, int y, double lon, double lat);
    // The route under construction becomes a saved route (named "Route<n>"),
    // written to its files. Returns its index, or -1 when there is nothing to
    // save or the store is full. *written tells whether both files were written.
    int finishRoute(std::string_view createdTime, bool* written = nullptr);
    void dropBuilding() { building_.clear(); }

    // The chart's hit test over the visible saved routes (4-pixel tolerance, the
    // waypoints' pixels as last projected). Sets the selection and the highlight.
    RouteHit hitTest(int x, int y);
    int selectedRoute() const { return selectedRoute_; }
    int selectedWaypoint() const { return selectedWaypoint_; }
    void select(int route) { selectedRoute_ = valid(route) ? route : -1; }
    int highlighted() const { return highlighted_; }
    void setHighlighted(int route) { highlighted_ = valid(route) ? route : -1; }

    // Each returns false when a file could not be written (the change stays).
    bool deleteRoute(int index);
    bool reverseRoute(int index);
    bool setVisible(int index, bool visible);
    // Waypoint editing of a saved route; each rewrites the route's waypoint
    // file (atomically) with every leg measured again. A waypoint is inserted
    // after the waypoint `after` (on the leg that starts there) or appended at
    // the end; a route keeps its last waypoint (deleting it is deleting the
    // route). Nothing changes, and true is returned, for an index out of range.
    bool insertWaypoint(int index, int after, double lon, double lat);
    bool appendWaypoint(int index, double lon, double lat);
    bool deleteWaypoint(int index, int waypoint);
    // The waypoint of the route within the hit tolerance of the pixel (as last
    // projected), or -1.
    int waypointAt(int index, int x, int y) const;
    // Name, depart and destination from the properties window; both files written.
    bool setTexts(int index, std::string_view name, std::string_view depart,
                  std::string_view destination);

    bool shown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }

  private:
    std::string uniqueFileName() const;

    std::string folder_;
    std::vector<Route> routes_;
    std::vector<Waypoint> building_;
    int selectedRoute_ = -1;
    int selectedWaypoint_ = -1;
    int highlighted_ = -1;
    bool shown_ = true;
};

}  // namespace norq::nav
