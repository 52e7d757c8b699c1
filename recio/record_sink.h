// Where finished records go: the console (with carriage control) or a
// connected unit such as the report file (whole record plus CR LF).
// An output statement builds its records and hands each one to its sink;
// `consoleSink` and `unitSink` give the two kinds.
#ifndef DOSMO_RECIO_RECORD_SINK_H_
#define DOSMO_RECIO_RECORD_SINK_H_

#include <string_view>

namespace recio {

// The destination of an output statement.
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  // Called when an output statement on this destination begins.
  virtual void beginStatement() {}
  // Sends one finished record, as built, without any line end.
  virtual void putRecord(std::string_view record) = 0;
  // The name shown for this destination in an error report: "CON" for the
  // console, the file name for a unit connected to a file.
  virtual std::string_view unitName() const { return "CON"; }
};

// The console designator used in place of a unit number.
inline constexpr int kConsole = -1;

// The report unit's number.
inline constexpr int kReportUnit = 3;

}  // namespace recio

#endif  // DOSMO_RECIO_RECORD_SINK_H_
