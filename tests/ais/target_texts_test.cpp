#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "ais/TargetTexts.h"

namespace norq::ais {
namespace {

template <std::size_t N>
void SetField(std::array<char, N>& field, const char* text) {
    field.fill('\0');
    std::strncpy(field.data(), text, N - 1);
}

TargetRecord ClassA() {
    TargetRecord r;
    r.kind = TargetKind::ClassA;
    r.mmsi = 211123456;
    r.statusByte = (5 << 4) | 1;  // moored, GPS
    r.flags = 0x01;
    r.longitude = 121.5f;
    r.latitude = -25.25f;
    r.sog = 12.3f;
    r.cog = 45.0f;
    r.heading = 44.0f;
    SetField(r.name, "EVER GIVEN");
    SetField(r.callSign, "H3RC");
    SetField(r.destination, "ROTTERDAM");
    r.shipType = 70;
    r.toBow = 300;
    r.toStern = 100;
    r.toPort = 30;
    r.toStarboard = 29;
    r.imo = 9811000;
    r.rateOfTurn = -1001.0f;
    r.etaMonth = 3;
    r.etaDay = 7;
    r.etaHour = 9;
    r.etaMinute = 5;
    r.draught = 14.5f;
    r.range = 3.25f;
    r.bearing = 45.04f;
    r.cpa = 1.5f;
    r.tcpa = 12.25f;
    r.cpaStatus = CpaStatus::Computed;
    r.receivedMessages = 17;
    r.lastMessageType = 5;
    r.lastMessageDate = {2024, 3, 7};
    r.lastMessageTime = {9, 5, 1};
    return r;
}

std::string Cell(const TargetRecord& r, int index, GridColumn column, bool ownValid = true) {
    TextOptions options;
    options.ownPositionValid = ownValid;
    return std::string(GridCellText(r, index, column, options).view());
}

TEST(TargetTextsFixedText, CutsOnCharacterBoundaries) {
    FixedText<4> text;
    text.append("ab°°");  // 6 bytes; the second degree sign does not fit
    EXPECT_EQ(text.view(), "ab°");
    FixedText<3> shorter;
    shorter.appendf("%s%s", "ab", "°");
    EXPECT_EQ(shorter.view(), "ab");
    EXPECT_EQ(std::strlen(shorter.c_str()), 2u);
    FixedText<5> full("abcde");
    full.append("f").appendf("%d", 1);
    EXPECT_EQ(full.view(), "abcde");
}

TEST(TargetTextsGrid, ClassARow) {
    const TargetRecord r = ClassA();
    TextOptions options;
    options.ownPositionValid = true;
    GridRow row;
    FillGridRow(r, 5, options, row);
    EXPECT_EQ(row[0].view(), "  5");
    EXPECT_EQ(row[1].view(), "211123456");
    EXPECT_EQ(row[2].view(), "[A]");
    EXPECT_EQ(row[3].view(), "17");
    EXPECT_EQ(row[4].view(), "5");
    EXPECT_EQ(row[5].view(), "EVER GIVEN");
    EXPECT_EQ(row[6].view(), "H3RC");
    EXPECT_EQ(row[7].view(), "  3.25 nm");
    EXPECT_EQ(row[8].view(), " 45.0°");
    EXPECT_EQ(row[9].view(), "12.30 Kn");
    EXPECT_EQ(row[10].view(), " 45.0°");
    EXPECT_EQ(row[11].view(), " 44.0°");
    EXPECT_EQ(row[12].view(), "  1.50 nm");
    EXPECT_EQ(row[13].view(), " 12.2 min");
    EXPECT_EQ(row[14].view(), " 25°15'00\"S");
    EXPECT_EQ(row[15].view(), "121°30'00\"E");
    EXPECT_EQ(row[16].view(), ">5°/30s(L)");
    EXPECT_EQ(row[17].view(), "400");
    EXPECT_EQ(row[18].view(), "59");
    EXPECT_EQ(row[19].view(), "ROTTERDAM");
    EXPECT_EQ(row[20].view(), "3/7 09:05");
    EXPECT_EQ(row[21].view(), "(70)Cargo ship                  ");
    EXPECT_EQ(row[22].view(), "(70)N/A; Harmless               ");

    // The own ship's row: "Own" and decimal minutes, 0 longitude to the west.
    TargetRecord own = r;
    own.longitude = 0.0f;
    own.latitude = 25.5f;
    EXPECT_EQ(Cell(own, 0, GridColumn::No), "Own");
    EXPECT_EQ(Cell(own, 0, GridColumn::Lon), "  0°00.000W");
    EXPECT_EQ(Cell(own, 0, GridColumn::Lat), " 25°30.000N");
    EXPECT_EQ(Cell(own, 3, GridColumn::Lon), "  0°00'00\"E");
}

TEST(TargetTextsGrid, KindsThatLackAField) {
    TargetRecord base = ClassA();
    base.kind = TargetKind::Base;
    for (GridColumn c :
         {GridColumn::CallSign, GridColumn::Sog, GridColumn::Cog, GridColumn::Heading,
          GridColumn::Rot, GridColumn::Length, GridColumn::Beam, GridColumn::Destination,
          GridColumn::Eta, GridColumn::ShipType, GridColumn::Cargo}) {
        EXPECT_EQ(Cell(base, 1, c), "N/A") << static_cast<int>(c);
    }
    TargetRecord b = ClassA();
    b.kind = TargetKind::ClassB;
    EXPECT_EQ(Cell(b, 1, GridColumn::CallSign), "H3RC");
    EXPECT_EQ(Cell(b, 1, GridColumn::Rot), "N/A");
    EXPECT_EQ(Cell(b, 1, GridColumn::Destination), "N/A");
    EXPECT_EQ(Cell(b, 1, GridColumn::ShipType), "(70)Cargo ship                  ");
}

TEST(TargetTextsGrid, UnavailableValues) {
    TargetRecord r = ClassA();
    r.range = -1.0f;
    r.bearing = kBearingNotAvailable;
    r.sog = 102.3f;
    r.cog = 360.0f;
    r.heading = kHeadingNotAvailable;
    r.longitude = kLonNotAvailable;
    r.latitude = kLatNotAvailable;
    r.rateOfTurn = kRotNotAvailable;
    for (GridColumn c : {GridColumn::Range, GridColumn::Bearing, GridColumn::Sog, GridColumn::Cog,
                         GridColumn::Heading, GridColumn::Lat, GridColumn::Lon, GridColumn::Rot}) {
        EXPECT_EQ(Cell(r, 1, c), "N/A") << static_cast<int>(c);
    }
    // A fresh entry's bearing of -1 is not a bearing either.
    r.bearing = -1.0f;
    EXPECT_EQ(Cell(r, 1, GridColumn::Bearing), "N/A");
}

TEST(TargetTextsGrid, CpaAndTcpa) {
    TargetRecord r = ClassA();
    EXPECT_EQ(Cell(r, 1, GridColumn::Cpa, false), "N/A");
    EXPECT_EQ(Cell(r, 1, GridColumn::Tcpa, false), "N/A");
    r.tcpa = -3.0f;  // moving apart
    EXPECT_EQ(Cell(r, 1, GridColumn::Cpa), "Pass");
    EXPECT_EQ(Cell(r, 1, GridColumn::Tcpa), "Pass");
    r.cpa = kCpaNotAvailable;  // the target has no course: nothing to pass
    EXPECT_EQ(Cell(r, 1, GridColumn::Cpa), "N/A");
    EXPECT_EQ(Cell(r, 1, GridColumn::Tcpa), "N/A");
    // A result that was not computed never reads "Pass", whatever its numbers.
    r.cpa = 0.5f;
    r.cpaStatus = CpaStatus::NoTargetMotion;
    EXPECT_EQ(Cell(r, 1, GridColumn::Cpa), "N/A");
    EXPECT_EQ(Cell(r, 1, GridColumn::Tcpa), "N/A");
    EXPECT_STREQ(CpaStatusText(CpaStatus::NoOwnSpeed).builtIn, "CPA N/A: own SOG not available");
    EXPECT_STREQ(CpaStatusText(CpaStatus::Computed).builtIn, "");
}

TEST(TargetTextsGrid, RateOfTurnUsesTheLanguageDegreeText) {
    EXPECT_EQ(RateOfTurnText(-1001.0f, "°").view(), ">5°/30s(L)");
    EXPECT_EQ(RateOfTurnText(1001.0f, "°").view(), ">5°/30s(R)");
    EXPECT_EQ(RateOfTurnText(-1000.0f, "度").view(), "-1000.0度");
    EXPECT_EQ(RateOfTurnText(12.5f, "°").view(), "  12.5°");
    EXPECT_EQ(RateOfTurnText(9999.0f, "°").view(), "N/A");
}

TEST(TargetTextsShipList, LineAndCaption) {
    TargetRecord r = ClassA();
    r.mmsi = 2111234;
    EXPECT_EQ(ShipListLine(r, 7).view(), "(007)  002111234    [A]     EVER GIVEN");
    EXPECT_EQ(ShipListLine(r, 0).view(), "(Own)  002111234    [A]     EVER GIVEN");
    r.kind = TargetKind::Epirb;
    EXPECT_EQ(ShipListLine(r, 12).view(), "(012)  002111234 [EPIRB]     EVER GIVEN");
    EXPECT_EQ(ShipListCaption("SHIP LIST", 0).view(), "SHIP LIST : 0");
    EXPECT_STREQ(TargetKindLabel(static_cast<TargetKind>(200)), "[N/A]");
}

TEST(TargetTextsFixed, ShipTypeAndCargo) {
    EXPECT_EQ(ShipTypeText(52).view(), "Tug                         ");
    EXPECT_EQ(ShipTypeText(75).view(), "Cargo ship                  ");
    EXPECT_EQ(ShipTypeText(38).view(), "Vessel-Future type          ");
    EXPECT_EQ(ShipTypeText(57).view(), "Local assigned vessel       ");
    EXPECT_EQ(ShipTypeText(41).view(), "HSC                         ");
    EXPECT_EQ(ShipTypeText(99).view(), "Other                       ");
    EXPECT_EQ(ShipTypeText(9).view(), "Undefined ship type!        ");
    EXPECT_EQ(ShipTypeText(100).view(), "Undefined ship type!        ");
    EXPECT_EQ(CargoText(75).view(), "Unknown Cargo!              ");
    EXPECT_EQ(CargoText(71).view(), "DG,HS or MP(Pollutant A)    ");
    EXPECT_EQ(CargoText(52).view(), "Unknown Cargo!              ");
    EXPECT_EQ(CargoText(3).view(), "Unknown Cargo!              ");
    EXPECT_EQ(CargoText(100).view(), "Unknown Cargo!              ");

    TargetRecord r = ClassA();
    r.shipType = 52;
    EXPECT_EQ(Cell(r, 1, GridColumn::ShipType), "(52)Tug                         ");
    r.shipType = 75;
    EXPECT_EQ(Cell(r, 1, GridColumn::Cargo), "(75)Unknown Cargo!              ");
}

TEST(TargetTextsFixed, StatusEpfdAndAton) {
    EXPECT_STREQ(NavigationalStatusText(0), "Under way using engine");
    EXPECT_STREQ(NavigationalStatusText(8), "Under way sailing");
    EXPECT_STREQ(NavigationalStatusText(15), "Undefined!");
    TargetRecord r = ClassA();
    EXPECT_EQ(NavStatusText(r).view(), "Moored");
    r.kind = TargetKind::Sart;
    EXPECT_EQ(NavStatusText(r).view(), "N/A");

    EXPECT_STREQ(EpfdText(7), "Surveyed");
    EXPECT_STREQ(EpfdText(8), "Undefined");
    EXPECT_STREQ(EpfdText(15), "Undefined");

    EXPECT_STREQ(AtonAidTypeText(0), "Not Specified");
    EXPECT_STREQ(AtonAidTypeText(31), "Light Vessel/LANBY/Rigs");
    EXPECT_STREQ(AtonLightText(0b110), "Error");
    EXPECT_STREQ(AtonRaconText(0b10000), "Operational");
}

TEST(TargetTextsCoordinates, FormatCoordinateStylesAndCarry) {
    using enum CoordinateAxis;
    EXPECT_EQ(FormatCoordinate(0.0, Longitude, 3).view(), "  0°00.000W");
    EXPECT_EQ(FormatCoordinate(0.0, Latitude, 2).view(), "  0°00.00S");
    EXPECT_EQ(FormatCoordinate(121.5, Longitude, 2).view(), "121°30.00E");
    EXPECT_EQ(FormatCoordinate(-25.25, Latitude, 4).view(), "25°15.00S");
    EXPECT_EQ(FormatCoordinate(10.1, Longitude, 1).view(), " 10°06E");
    // Minutes that round up to 60 carry into the degrees.
    EXPECT_EQ(FormatCoordinate(10.99999999, Latitude, 2).view(), " 11°00.00N");
    EXPECT_EQ(FormatCoordinate(-10.9999999, Latitude, 3).view(), " 11°00.000S");
    EXPECT_EQ(FormatCoordinate(NAN, Latitude, 3).view(), "N/A");
}

TEST(TargetTextsCoordinates, LonLatPairAndChartText) {
    LonLatTexts t = FormatLonLatPair(121.5, 25.2625, 0);
    EXPECT_EQ(t.longitude.view(), "121d30m0sE");
    EXPECT_EQ(t.latitude.view(), "25d15m45sN");
    t = FormatLonLatPair(-0.5, -33.5125, 2);
    EXPECT_EQ(t.longitude.view(), "  0°30'00\"W");
    EXPECT_EQ(t.latitude.view(), " 33°30'45\"S");
    t = FormatLonLatPair(121.5, 25.2625, 1);
    EXPECT_EQ(t.longitude.view(), "121°30'E");
    t = FormatLonLatPair(121.5, 25.2625, 5);
    EXPECT_EQ(t.longitude.view(), "121°E");
    EXPECT_EQ(t.latitude.view(), " 25°N");

    EXPECT_EQ(ChartCoordinateText(-121.5, 2).view(), "121°30'00\"");
    EXPECT_EQ(ChartCoordinateText(121.5, 1).view(), "121°30'");
    EXPECT_EQ(ChartCoordinateText(121.5, 0).view(), "121°");
    EXPECT_EQ(ChartLatitudeText(0.0).view(), "  0°00'00\"N");
    EXPECT_EQ(ChartLatitudeText(90.5).view(), "N/A");
}

TEST(TargetTextsCoordinates, SplitAndJoinDegrees) {
    // A position typed as 10 06' 00" shows again as 10 06' 00".
    const Dms tenSix = SplitDms(DmsToDegrees(10, 6, 0));
    EXPECT_EQ(tenSix.degrees, 10);
    EXPECT_EQ(tenSix.minutes, 6);
    EXPECT_EQ(tenSix.seconds, 0);
    for (int d : {0, 1, 45, 89, 121, 179}) {
        for (int m = 0; m < 60; m += 7) {
            for (int s = 0; s < 60; s += 11) {
                const Dms back = SplitDms(DmsToDegrees(d, m, s));
                EXPECT_EQ(back.degrees, d);
                EXPECT_EQ(back.minutes, m);
                EXPECT_EQ(back.seconds, s);
            }
        }
    }
    const Dms south = SplitDms(-33.5125);
    EXPECT_EQ(south.degrees, -33);
    EXPECT_EQ(south.minutes, 30);
    EXPECT_EQ(south.seconds, 45);
    EXPECT_NEAR(SplitDmsExact(0.00025).seconds, 0.9, 1e-9);
    EXPECT_EQ(SplitDms(1e12).degrees, 0);  // out of range, no overflow
}

TEST(TargetTextsTime, DurationsAndReceiveTimes) {
    EXPECT_EQ(FormatSeconds(3725).view(), "01:02:05");
    EXPECT_EQ(FormatSeconds(0).view(), "00:00:00");
    EXPECT_EQ(FormatSeconds(-5).view(), "00:00:00");
    EXPECT_EQ(FormatSeconds(360000).view(), "100:00:00");

    const DateStamp date{2024, 3, 7};
    const TimeStamp time{9, 5, 1};
    EXPECT_EQ(DateTimeText(date, time, "yyyy/MM/dd").view(), "2024/03/07 09:05:01");
    EXPECT_EQ(DateTimeText(date, time, "d.M.yy").view(), "7.3.24 09:05:01");
    EXPECT_EQ(DateTimeText(date, time, "dd 'de' MM yyyy").view(), "07 de 03 2024 09:05:01");
}

TEST(TargetTextsPanes, Dynamic) {
    TargetRecord r = ClassA();
    TextOptions options;
    options.ownPositionValid = false;
    DynamicDetailTexts t = DynamicDetails(r, 4, options);
    EXPECT_EQ(t.mmsi.view(), "211123456");
    EXPECT_EQ(t.country.view(), "Germany (Federal Republic of)");
    EXPECT_EQ(t.navStatus.view(), "Moored");
    EXPECT_EQ(t.positionAccuracy.view(), "High");
    EXPECT_EQ(t.bearing.view(), "N/A");  // no own position
    EXPECT_EQ(t.cpa.view(), "N/A");
    EXPECT_EQ(t.receiveTime.view(), "2024/03/07 09:05:01");
    options.ownPositionValid = true;
    EXPECT_EQ(DynamicDetails(r, 4, options).bearing.view(), " 45.0°");

    // The own ship without a current fix has no position, speed, course or range to
    // show: not the zero position of a fresh start, nor the last fix.
    r.ownPositionValid = 1;
    t = DynamicDetails(r, 0, options);
    EXPECT_NE(t.latitude.view(), "N/A");
    EXPECT_NE(t.sog.view(), "N/A");
    r.ownPositionValid = 0;
    for (const TargetRecord& own : {r, TargetRecord{}}) {
        t = DynamicDetails(own, 0, options);
        EXPECT_EQ(t.longitude.view(), "N/A");
        EXPECT_EQ(t.latitude.view(), "N/A");
        EXPECT_EQ(t.sog.view(), "N/A");
        EXPECT_EQ(t.cog.view(), "N/A");
        EXPECT_EQ(t.range.view(), "N/A");
    }
}

TEST(TargetTextsPanes, StaticAndAton) {
    TargetRecord r = ClassA();
    StaticDetailTexts s = StaticDetails(r, TextOptions{});
    EXPECT_EQ(s.imo.view(), "9811000");
    EXPECT_EQ(s.draught.view(), "14.5m");
    EXPECT_EQ(s.dimension.view(), "A:300m,B:100m,C:30m,D:29m");
    EXPECT_EQ(s.epfs.view(), "GPS");
    r.kind = TargetKind::ClassB;
    s = StaticDetails(r, TextOptions{});
    EXPECT_EQ(s.imo.view(), "N/A");
    EXPECT_EQ(s.draught.view(), "N/A ");
    r.kind = TargetKind::SarAircraft;
    EXPECT_EQ(StaticDetails(r, TextOptions{}).dimension.view(), "N/A");

    TargetRecord aton;
    aton.kind = TargetKind::Aton;
    aton.mmsi = 992111234;
    SetField(aton.name, "NORTH PIER@@@@");
    SetField(aton.nameExtension, "LIGHT 2@@");
    aton.atonFlags = 0x01 | (20 << 1) | 0x40;  // off position, cardinal mark N, virtual
    aton.atonRegional = 0x01 | (1 << 1) | (2 << 3);
    const AtonDetailTexts a = AtonDetails(aton, TextOptions{});
    EXPECT_EQ(a.name.view(), "NORTH PIERLIGHT 2");
    EXPECT_EQ(a.realVirtual.view(), "Virtual");
    EXPECT_EQ(a.aidType.view(), "Cardinal Mark N");
    EXPECT_EQ(a.status.view(), "Alarm, Off position");
    EXPECT_EQ(a.light.view(), "ON");
    EXPECT_EQ(a.racon.view(), "Operational");
    EXPECT_EQ(a.longitude.view(), "N/A");
}

TEST(TargetTextsCaptions, EveryTextHasSectionAndBuiltIn) {
    std::set<std::string> gridKeys;
    for (const LanguageText& t : kGridColumnTitles) {
        EXPECT_STREQ(t.section, "ALPHA_VIEW");
        ASSERT_NE(t.key, nullptr);
        EXPECT_GT(std::strlen(t.builtIn), 0u);
        gridKeys.insert(t.key);
    }
    EXPECT_EQ(gridKeys.size(), kGridColumnCount);
    EXPECT_STREQ(kGridColumnTitles[static_cast<int>(GridColumn::Cargo)].key, "CARGO");
    for (const auto* captions : {&kDynamicFieldCaptions}) {
        for (const FieldCaption& c : *captions)
            EXPECT_STREQ(c.text.section, "DETAIL_DYNAMIC");
    }
    EXPECT_STREQ(BearingModeText(BearingMode::Relative).builtIn, "Relative Bearing");
}

}  // namespace
}  // namespace norq::ais
