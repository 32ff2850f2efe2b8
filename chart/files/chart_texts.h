#pragma once
// Every text readers see about the chart's files, byte for byte: what the
// loading sequence says, and what each reader says when it cannot read its
// file. The window shows them; the publisher's tool quotes them.
namespace chart {

// A file that cannot be read, told by its reader.
inline constexpr const char* kNoVersionFileMessage =
    "No version file found. Please click \"Update\" button to receive new.";
inline constexpr const char* kNoDataFileMessage =
    "No data file found. Please click \"Update\" button to receive new.";
inline constexpr const char* kNoPolicyFileMessage =
    "No testing policy file found. Please click \"Update\" button to receive new.";

// The version gate; the publisher's web host name follows.
inline constexpr const char* kNeedNewestVersionMessage =
    "You need newest version to read the data files. Please download it on ";
inline constexpr const char* kNewestAvailableMessage =
    "Newest version already available. Please update it on ";

// Shown instead of opening a program's page address that is not a web
// address; the address follows on the next line.
inline constexpr const char* kNotWebAddressMessage =
    "This program's page address is not a web address, so it was not opened:\r\n";

}  // namespace chart
