#include "app/procedury.h"

#include <QFileInfo>

namespace voltmetr {

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

float DegToRad(float deg)
{
    return static_cast<float>(static_cast<double>(deg) * 3.14159265358979 / 180.0);
}

void FillTables(MeterTables& t)
{
    using Ranges = std::array<float, 9>;
    using Twips = std::array<std::int16_t, 9>;
    using Labels = OneBased<std::int16_t, 9>;
    constexpr float none = -1.0f;
    const auto meter = [](std::uint8_t divisions, std::uint8_t majorCount, std::uint8_t rangeCount,
                          Ranges ranges) {
        return MeterType{divisions, majorCount, rangeCount, OneBased<float, 9>(ranges)};
    };
    // divisions, numbered intervals, usable ranges, full scale per switch position
    t.Meters = OneBased<MeterType, 5>(std::array{
        meter(100, 10, 9, Ranges{0.5f, 1.0f, 2.0f, 5.0f, 10.0f, 20.0f, 50.0f, 100.0f, 200.0f}),
        meter(120, 12, 7, Ranges{none, 0.6f, 1.2f, 2.4f, 6.0f, 12.0f, 24.0f, 120.0f, none}),
        meter(60, 6, 7, Ranges{none, 0.6f, 1.2f, 2.4f, 6.0f, 12.0f, 24.0f, 120.0f, none}),
        meter(30, 3, 8, Ranges{none, 0.6f, 1.2f, 3.0f, 6.0f, 12.0f, 30.0f, 60.0f, 120.0f}),
        meter(50, 5, 8, Ranges{none, 0.5f, 1.0f, 2.0f, 5.0f, 10.0f, 50.0f, 100.0f, 200.0f}),
    });

    // Range labels around the switch disc, window twips. Position 8 of the nine-position dial
    // sits at 5660, ten twips above its neighbour: the dial was laid out by hand that way.
    t.LabelLeft9 = Labels(Twips{4350, 4350, 4560, 4860, 5190, 5520, 5760, 5940, 5940});
    t.LabelTop9 = Labels(Twips{5940, 5670, 5400, 5190, 5130, 5190, 5400, 5660, 5940});
    // Position 1 of the eight-position dial has no range; its hidden label rests at 0, 0.
    t.LabelLeft8 = Labels(Twips{0, 4350, 4410, 4680, 5010, 5340, 5670, 5880, 5940});
    t.LabelTop8 = Labels(Twips{0, 5790, 5520, 5280, 5130, 5130, 5280, 5520, 5790});

    t.KnobPoints9 = OneBased<PointXY, 9>(std::array<PointXY, 9>{{{4740, 6030},
                                                                 {4760, 5810},
                                                                 {4890, 5610},
                                                                 {5110, 5500},
                                                                 {5280, 5460},
                                                                 {5520, 5520},
                                                                 {5690, 5640},
                                                                 {5790, 5840},
                                                                 {5810, 6030}}});
    t.KnobPoints8 = OneBased<PointXY, 8>(std::array<PointXY, 8>{{{4760, 5900},
                                                                 {4820, 5710},
                                                                 {4960, 5580},
                                                                 {5190, 5480},
                                                                 {5410, 5490},
                                                                 {5640, 5560},
                                                                 {5760, 5720},
                                                                 {5820, 5900}}});
}

} // namespace voltmetr
