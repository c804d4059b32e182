#pragma once

#include "app/onebased.h"
#include "app/tasklog.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace voltmetr {

// One meter of the catalogue.
struct MeterType
{
    std::uint8_t divisions = 0;  // N, the scale's divisions
    std::uint8_t majorCount = 0; // numbered intervals of the scale
    std::uint8_t rangeCount = 0; // usable ranges: 7, 8 or 9
    OneBased<float, 9> ranges;   // full scale in volts per switch position, -1 where none

    friend bool operator==(const MeterType&, const MeterType&) = default;
};

struct PointXY
{
    std::int16_t X = 0;
    std::int16_t Y = 0;

    friend bool operator==(const PointXY&, const PointXY&) = default;
};

// The constant tables of the meter model, filled by FillTables.
struct MeterTables
{
    OneBased<MeterType, 5> Meters;
    OneBased<std::int16_t, 9> LabelTop9, LabelLeft9; // range labels, 9-position dial, twips
    OneBased<std::int16_t, 9> LabelTop8, LabelLeft8; // 8-position dial; element 1 is 0
    OneBased<PointXY, 9> KnobPoints9;                // pointer end per position 1..9
    OneBased<PointXY, 8> KnobPoints8;                // pointer end per position 2..9 (entry p-1)

    friend bool operator==(const MeterTables&, const MeterTables&) = default;
};

// The run state shared by all windows: created once by main and handed to every window by
// reference. Only one identity triple is filled in a run, depending on the mode.
struct Data_a_promene
{
    bool EmailMode = false;

    // e-mail mode
    QString PupilName;
    QString PupilClass;
    double StartDateTime = 0; // date and time of sign-in

    // school-server mode
    QString ProfileSurname;
    QString ProfileClass;
    double StartTime = 0; // time of day of sign-in, date part zero

    std::int32_t RightCount = 0;
    std::int32_t WrongCount = 0;
    float TaskVoltage = 0;           // volts, always positive
    std::vector<TaskRecord> TaskLog; // every finished task of the run, in order

    MeterTables tables;
};

} // namespace voltmetr
