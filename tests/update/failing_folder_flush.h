#pragma once
// A disk that fails to flush a folder: the next `count` fsync calls on a
// directory made by this test program fail with EIO (the calls on files go
// through). The program's own fsync stands in front of the C library's.
namespace update_test {

void FailNextFolderFlushes(int count);

}  // namespace update_test
