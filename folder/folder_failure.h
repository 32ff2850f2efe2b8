#pragma once
// Why something in the chart folder could not be done, and the one wording
// of it: an update tells it after "The update failed: ", a reload or a start
// after "The chart was not read: ".
#include <string>
#include <utility>
#include <variant>

namespace folder {

struct Failure {
    enum class Kind {
        WriteFailed,          // path: the file; error: errno
        ReadFailed,           // path: the file; error: errno
        FolderNotWritable,    // path: the chart folder; error: errno (read-only, no permission)
        NotAFile,             // path: a chart file's, which holds no file a chart can replace
        NameTaken,            // path: a work file's, held by what the user cannot remove
        MarkerDamaged,        // path: a marker of neither format (error 0) or unreadable (error: errno)
        AnotherCopyUpdating,  // another copy of the program holds the update lock or the folder
        Cancelled,            // the window ended a wait: the program is ending
    };
    Kind kind = Kind::WriteFailed;
    std::string path;
    int error = 0;
};

inline Failure MakeFailure(Failure::Kind kind, std::string path = {}, int error = 0) {
    return Failure{kind, std::move(path), error};
}
inline Failure WriteFailure(std::string path, int error) {
    return MakeFailure(Failure::Kind::WriteFailed, std::move(path), error);
}
inline Failure ReadFailure(std::string path, int error) {
    return MakeFailure(Failure::Kind::ReadFailed, std::move(path), error);
}
inline Failure NameTakenFailure(std::string path) { return MakeFailure(Failure::Kind::NameTaken, std::move(path)); }

// What a step that makes something answers: the thing made, or why not.
template <typename T, typename Error>
class ResultOf {
public:
    ResultOf(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    ResultOf(Error failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    const Error& Why() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};
template <typename T>
using Result = ResultOf<T, Failure>;

// In plain words, from a small letter to a full stop; a damaged marker's
// words go on to say which files to keep or remove.
std::string Reason(const Failure& failure);

// What a reload or a start tells instead of reading the chart.
std::string NotReadMessage(const Failure& failure);

}  // namespace folder
