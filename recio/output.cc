// The output statement of the process: the free functions of the output
// interface act on one statement object, whose buffers live for the whole run.
// A unit number that names no connection ends the run.
#include "recio/output.h"

#include <string>

#include "recio/console.h"
#include "recio/errors.h"
#include "recio/output_statement.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"

namespace recio {
namespace {

OutputStatement& currentStatement() {
  static OutputStatement statement;
  return statement;
}

}  // namespace

void beginWrite(int unit, const char* format) {
  RecordSink* sink = unit == kConsole ? &consoleSink() : unitSink(unit);
  if (sink == nullptr) {
    raiseRuntimeError(ErrorCode::unitNotConnected, Statement::write, std::to_string(unit));
  }
  currentStatement().begin(*sink, format);
}

void writeText(const char* bytes, int length) { currentStatement().writeText(bytes, length); }

void writeReal(float value) { currentStatement().writeReal(value); }

void writeInteger(std::int32_t value) { currentStatement().writeInteger(value); }

void endWrite() { currentStatement().end(); }

}  // namespace recio
