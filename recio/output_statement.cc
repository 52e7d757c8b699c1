// Forming the records of an output statement: list-directed records of at
// most 79 columns after their leading blank, or formatted records driven by
// the compiled format. Blanks of nX and of field padding are pending: written
// only before a following character, so a record may end with no character.
#include "recio/output_statement.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "recio/errors.h"
#include "recio/field.h"

namespace recio {

void OutputStatement::begin(RecordSink& sink, const char* format) {
  open_ = false;
  sink_ = &sink;
  formatted_ = format != nullptr;
  items_.clear();
  textBytes_.clear();
  record_.clear();
  pendingBlanks_ = 0;
  sink.beginStatement();
  if (formatted_ && !format_.compile(format)) {
    raiseRuntimeError(ErrorCode::formatSyntax, Statement::write, sink.unitName());
  }
  open_ = true;
}

void OutputStatement::writeText(const char* bytes, int length) {
  Item item;
  item.offset = textBytes_.size();
  if (bytes != nullptr && length > 0) {
    textBytes_.append(bytes, static_cast<std::size_t>(length));
    item.length = static_cast<std::size_t>(length);
  }
  items_.push_back(item);
}

void OutputStatement::writeReal(float value) {
  Item item;
  item.kind = ItemKind::real;
  item.real = value;
  items_.push_back(item);
}

void OutputStatement::writeInteger(std::int32_t value) {
  Item item;
  item.kind = ItemKind::integer;
  item.integer = value;
  items_.push_back(item);
}

void OutputStatement::end() {
  // A statement is ended once; one cut short by an error is never resumed.
  if (!open_) return;
  open_ = false;
  if (formatted_) {
    endFormatted();
  } else {
    endList();
  }
}

std::string_view OutputStatement::textOf(const Item& item) const {
  return std::string_view(textBytes_).substr(item.offset, item.length);
}

void OutputStatement::appendBytes(std::string_view bytes) {
  if (bytes.empty()) return;
  record_.append(static_cast<std::size_t>(pendingBlanks_), ' ');
  pendingBlanks_ = 0;
  record_.append(bytes);
}

char* OutputStatement::appendField(int width) {
  record_.append(static_cast<std::size_t>(pendingBlanks_), ' ');
  pendingBlanks_ = 0;
  const std::size_t start = record_.size();
  record_.resize(start + static_cast<std::size_t>(width));
  return record_.data() + start;
}

void OutputStatement::endRecord() {
  sink_->putRecord(record_);
  record_.clear();
  pendingBlanks_ = 0;
}

// List-directed output. REAL and INTEGER items, which the dialogue never
// writes this way, appear in their shortest exact decimal form, set off from
// neighbouring values by one blank; texts next to texts have no separator.

void OutputStatement::endList() {
  startListRecord();
  for (const Item& item : items_) {
    std::array<char, 32> number{};
    std::to_chars_result written{};
    switch (item.kind) {
      case ItemKind::text:
        appendListText(textOf(item));
        continue;
      case ItemKind::real:
        written = std::to_chars(number.data(), number.data() + number.size(), item.real);
        break;
      case ItemKind::integer:
        written = std::to_chars(number.data(), number.data() + number.size(), item.integer);
        break;
    }
    appendListNumber(std::string_view(number.data(), static_cast<std::size_t>(written.ptr - number.data())));
  }
  endRecord();
}

void OutputStatement::startListRecord() {
  record_.push_back(' ');
  widthLeft_ = kListLineWidth;
  lastWasNumber_ = false;
}

void OutputStatement::appendListText(std::string_view text) {
  if (lastWasNumber_ && !text.empty()) placeListChars(" ");
  lastWasNumber_ = false;
  placeListChars(text);
}

void OutputStatement::appendListNumber(std::string_view number) {
  const bool separated = record_.size() > 1;
  if (separated && number.size() + 1 > static_cast<std::size_t>(widthLeft_)) {
    endRecord();
    startListRecord();
  } else if (separated) {
    placeListChars(" ");
  }
  placeListChars(number);
  lastWasNumber_ = true;
}

// Places characters as long as they are fewer than the width left; otherwise
// fills the record, ends it and goes on in a new one. Characters that end
// exactly at the width leave an empty new record behind them.
void OutputStatement::placeListChars(std::string_view chars) {
  while (chars.size() >= static_cast<std::size_t>(widthLeft_)) {
    record_.append(chars.substr(0, static_cast<std::size_t>(widthLeft_)));
    chars.remove_prefix(static_cast<std::size_t>(widthLeft_));
    endRecord();
    startListRecord();
  }
  record_.append(chars);
  widthLeft_ -= static_cast<int>(chars.size());
}

// Formatted output. When the format's end is reached with items left, the
// record is ended and the format taken again from its last top-level group
// (or its start); a pass that takes no item then is a descriptor mismatch,
// since no further pass could take one either.
void OutputStatement::endFormatted() {
  const std::vector<Descriptor>& list = format_.descriptors();
  std::array<GroupFrame, kMaxGroupDepth> groups{};
  int depth = 0;
  std::size_t next = 0;
  std::size_t takenAtLastEnd = 0;
  std::size_t at = 0;
  for (;;) {
    const Descriptor& d = list[at];
    switch (d.kind) {
      case DescriptorKind::blanks:
        pendingBlanks_ += d.repeat;
        break;
      case DescriptorKind::literal:
        appendBytes(format_.literal(d));
        break;
      case DescriptorKind::slash:
        for (int i = 0; i < d.repeat; ++i) endRecord();
        break;
      case DescriptorKind::fixed:
      case DescriptorKind::integer:
      case DescriptorKind::text:
        for (int i = 0; i < d.repeat; ++i) {
          if (next == items_.size()) return endRecord();
          writeItem(d, items_[next++]);
        }
        break;
      case DescriptorKind::groupOpen:
        groups[static_cast<std::size_t>(depth++)] = {at, d.repeat};
        break;
      case DescriptorKind::groupClose: {
        GroupFrame& group = groups[static_cast<std::size_t>(depth - 1)];
        if (--group.remaining > 0) {
          at = group.open;
        } else {
          --depth;
        }
        break;
      }
      case DescriptorKind::formatEnd:
        if (next == items_.size()) return endRecord();
        if (next == takenAtLastEnd) raiseMismatch();
        takenAtLastEnd = next;
        endRecord();
        at = format_.reversionIndex();
        continue;
    }
    ++at;
  }
}

void OutputStatement::writeItem(const Descriptor& descriptor, const Item& item) {
  switch (descriptor.kind) {
    case DescriptorKind::fixed:
      if (item.kind != ItemKind::real) raiseMismatch();
      renderFixed(item.real, descriptor.width, descriptor.decimals, appendField(descriptor.width));
      return;
    case DescriptorKind::integer:
      if (item.kind != ItemKind::integer) raiseMismatch();
      renderInteger(item.integer, descriptor.width, appendField(descriptor.width));
      return;
    default: {
      if (item.kind != ItemKind::text) raiseMismatch();
      std::string_view text = textOf(item);
      if (descriptor.width == 0) return appendBytes(text);
      // Aw: the first w characters, or the text after w - length blanks.
      const std::size_t width = static_cast<std::size_t>(descriptor.width);
      char* field = appendField(descriptor.width);
      const std::size_t shown = text.size() < width ? text.size() : width;
      std::fill(field, field + (width - shown), ' ');
      text.copy(field + (width - shown), shown);
      return;
    }
  }
}

void OutputStatement::raiseMismatch() const {
  raiseRuntimeError(ErrorCode::formatItemMismatch, Statement::write, sink_->unitName());
}

}  // namespace recio
