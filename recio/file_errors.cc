// File faults by cause: the open errors F6412 to F6417, the write errors
// F6421 (refused) and F6422 (disk full or file-size limit), F6419 and F6423
// for any other cause. An interrupt that broke in ends the run by itself.
#include "recio/file_errors.h"

#include "recio/run_end.h"

namespace recio {

ErrorCode openErrorFor(FileFault fault) {
  switch (fault) {
    case FileFault::invalidName: return ErrorCode::invalidFileName;
    case FileFault::accessDenied:
    case FileFault::inUse:
      return ErrorCode::fileAccessDenied;
    case FileFault::exists: return ErrorCode::fileExists;
    case FileFault::notFound: return ErrorCode::fileNotFound;
    case FileFault::tooManyOpen: return ErrorCode::tooManyOpenFiles;
    default: return ErrorCode::openFailed;
  }
}

ErrorCode writeErrorFor(FileFault fault) {
  switch (fault) {
    case FileFault::diskFull: return ErrorCode::diskFull;
    case FileFault::accessDenied: return ErrorCode::writeAccessDenied;
    default: return ErrorCode::writeFailed;
  }
}

void raiseFileError(FileFault fault, ErrorCode code, Statement statement, std::string_view name) {
  if (fault == FileFault::interrupted) endRunIfInterrupted();
  raiseRuntimeError(code, statement, name);
}

void raiseWriteError(FileFault fault, Statement statement, std::string_view name) {
  raiseFileError(fault, writeErrorFor(fault), statement, name);
}

}  // namespace recio
