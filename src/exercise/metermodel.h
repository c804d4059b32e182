#pragma once

#include "app/runstate.h"

namespace voltmetr {

// The rules of one meter of the catalogue: which switch positions it has, how a task voltage
// is drawn for it, which range a voltage calls for, and where the needle comes to rest.

// Position 1 when the meter has nine ranges, else 2: the switch's smallest range.
int lowestUsablePosition(const MeterType& meter);
int highestUsablePosition(const MeterType& meter);
bool isUsablePosition(const MeterType& meter, int position);
// Meters with eight ranges have a dial of eight positions (2..9); all others the nine-position
// dial.
bool usesEightPositionDial(const MeterType& meter);

// The switch position a task is sized on, from a draw r in [0, 1): uniform over the usable
// positions.
int drawnPosition(const MeterType& meter, float r);

// The whole divisions k that a task on position shows, from a draw r in [0, 1): from a tenth
// of the scale up to one division short of full scale.
int drawnDivisions(const MeterType& meter, int position, float r);

// The voltage that shows exactly k divisions on position.
float voltageOfDivisions(const MeterType& meter, int position, int k);

// The smallest usable range strictly above voltage, searched downward from position: a voltage
// equal to a smaller range's full scale does not select that range.
int bestRangeFor(const MeterType& meter, int position, float voltage);

// The deflection in divisions where the needle comes to rest: N U / R on position, negative
// for a reversed source, 0 when disconnected.
float steadyDeflection(const MeterType& meter, int position, float voltage, bool connected,
                       bool polarityRight);

// Where the needle of a connected meter comes to rest on the range of rangeVolts, in degrees: at
// the steady deflection, or on the stop it is pegged at when that lies beyond the stop.
float restingNeedleAngle(const MeterType& meter, float rangeVolts, float voltage,
                         bool polarityRight);

// The meter of the catalogue with the given divisions, which no two meters share; nothing when
// none has them.
const MeterType* meterWithDivisions(const MeterTables& tables, int divisions);

} // namespace voltmetr
