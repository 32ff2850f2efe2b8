// Writes the bytes of every server answer the update tests keep as data
// (tests/data/answers/) into a folder, one file per answer, as seeds for the
// update-answer fuzz target: answer_seeds OUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/server_answer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: answer_seeds OUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    for (const char* table : {"outcome", "hostile"}) {
        for (const support::ServerAnswer& answer : support::ServerAnswers(table)) {
            if (!answer.unreadable.empty()) {
                std::fprintf(stderr, "%s/%s: %s\n", table, answer.name.c_str(), answer.unreadable.c_str());
                return 1;
            }
            std::ofstream file(out / (std::string(table) + "-" + answer.name), std::ios::binary | std::ios::trunc);
            file << support::AnswerBytes(answer);
            if (!file.flush()) {
                std::fprintf(stderr, "cannot write a seed into %s\n", argv[1]);
                return 1;
            }
        }
    }
    return 0;
}
