// The order's figures in printing order, each from the printed one before it.
#include "memo/order.h"

#include <cmath>
#include <cstdlib>

#include "memo/figures.h"

namespace dosmo {
namespace {

constexpr double kBagKg = 50;

double powerOfTen(int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  return scale;
}

// Whether `value` in units of the last decimal fits a whole number of 64 bits.
bool fitsWhole(double value, int decimals) { return std::fabs(value * powerOfTen(decimals)) < 9e18; }

}  // namespace

double roundedTo(double value, int decimals) {
  if (!fitsWhole(value, decimals)) return value;
  const double scale = powerOfTen(decimals);
  return static_cast<double>(std::llround(value * scale)) / scale;
}

std::string decimalText(double value, int decimals) {
  if (!fitsWhole(value, decimals)) return shownDecimal(value);
  const long long units = std::llround(value * powerOfTen(decimals));
  std::string digits = std::to_string(std::llabs(units));
  if (digits.size() <= static_cast<std::size_t>(decimals)) {
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  }
  if (decimals > 0) digits.insert(digits.size() - static_cast<std::size_t>(decimals), ",");
  return (units < 0 ? "-" : "") + digits;
}

Order orderOf(const MemoRecord& memo, const OrderVolume& asked) {
  Order order;
  order.asked = asked;
  order.volume = roundedTo(asked.cubicMetres * (1 + asked.lossPercent / 100), 3);
  order.cementMass = roundedTo(memo.value(MemoKey::cementContent) * order.volume, 2);
  order.bags = roundedTo(order.cementMass / kBagKg, 2);
  order.wholeBags = fitsWhole(order.bags, 0) ? static_cast<long long>(std::ceil(order.bags)) : 0;
  order.aggregates.push_back({"areia", MemoKey::sandMass, MemoKey::sandUnitMass});
  for (int index = 1; index <= memo.gradations(MemoKey::coarseUnitMass); ++index) {
    order.aggregates.push_back({"brita " + std::to_string(index), MemoSlot{MemoKey::coarseMass, index},
                                MemoSlot{MemoKey::coarseUnitMass, index}});
  }
  for (OrderedAggregate& aggregate : order.aggregates) {
    aggregate.mass = roundedTo(memo.value(aggregate.perCubicMetre) * order.volume, 2);
    aggregate.looseVolume = roundedTo(aggregate.mass / memo.value(aggregate.unitMass) / 1000, 3);
  }
  order.water = roundedTo(memo.value(MemoKey::waterContent) * order.volume, 2);
  return order;
}

}  // namespace dosmo
