// The check made before a file is opened: does it exist, can it be written,
// and with which mode should it be opened.
#ifndef QUEN_STREAMS_FILEOPEN_H
#define QUEN_STREAMS_FILEOPEN_H

#include "quen/platform/Export.h"
#include "quen/strings/FileString.h"

namespace quen {

// Modes are the open-mode bits of BinStream (in 1, out 2, ...).
//
//   const quen::FileOpen check("data.bin", quen::BinStream::in);  // "File NOT FOUND error"?
//   const bool mayWrite = !check.readOnly();
//
//   write bit, file missing:    passes, with the read bit toggled in mode()
//                               (so that an open creates the file)
//   write bit, file read-only:  throws "File WRITE READ-ONLY error"
//   read bit only, missing:     throws "File NOT FOUND error"
//   otherwise:                  passes with the mode as requested
// A file is read-only when it exists and cannot be opened for writing, or
// when it carries the read-only attribute (on Linux: a regular file without
// any write permission bit). The second test matters where the caller may
// write everything, as root on Linux or under Wine run as root can.
// A file exists when its name is there, whether or not the caller may read
// it: a file that cannot be opened for reading and writing (no read
// permission, held by another process without sharing) is read-only, never
// missing. Only regular files and character devices are files here: a
// directory, FIFO or socket counts as missing and is never opened, so the
// check cannot block. No file is created or changed and none is kept open.
class QUEN_API FileOpen {
public:
    static const char* version();

    FileOpen(const char* name, int mode);
    virtual ~FileOpen();

    const FileString& name() const { return name_; }
    int mode() const { return mode_; }
    bool readOnly() const { return readOnly_; }

private:
    FileString name_;
    int mode_;
    bool readOnly_;
};

}  // namespace quen

#endif
