#pragma once
// "Side by side" on paper: the rows the window shows, as a table in a text
// document that Qt's printing lays out on pages; every text plain.
#include <memory>

class QTextDocument;

namespace vantrel::ui {

class SideBySideModel;

std::unique_ptr<QTextDocument> SideBySideDocument(const SideBySideModel& model);

}  // namespace vantrel::ui
