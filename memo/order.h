// What to order for a volume of concrete: the bags of cement (the exact
// figure and the whole bags), the sand and each gravel in kg and in m³ as
// measured loose by the unit masses the user gave, and the water in litres,
// all with the loss allowance. Each figure is rounded as the memo prints it,
// and the next is computed from that printed figure, so the lines close.
#ifndef DOSMO_MEMO_ORDER_H_
#define DOSMO_MEMO_ORDER_H_

#include <string>
#include <vector>

#include "memo/record.h"
#include "memo/run_facts.h"

namespace dosmo {

// One aggregate to order.
struct OrderedAggregate {
  std::string name;       // "areia", "brita 1"
  MemoSlot perCubicMetre; // kg/m³ in the record
  MemoSlot unitMass;      // kg/dm³ in the record
  double mass = 0;        // kg, two decimals
  double looseVolume = 0; // m³, three decimals
};

struct Order {
  OrderVolume asked;
  double volume = 0;      // m³ with the loss, three decimals
  double cementMass = 0;  // kg, two decimals
  double bags = 0;        // exact, two decimals
  long long wholeBags = 0;
  std::vector<OrderedAggregate> aggregates;
  double water = 0;       // litres, two decimals
};

// The order for `asked` from the record of a finished run.
Order orderOf(const MemoRecord& memo, const OrderVolume& asked);

// `value` rounded half away from zero to `decimals` (0 to 6) places.
double roundedTo(double value, int decimals);

// `value` with exactly `decimals` decimals and the decimal comma; no exponent.
std::string decimalText(double value, int decimals);

}  // namespace dosmo

#endif  // DOSMO_MEMO_ORDER_H_
