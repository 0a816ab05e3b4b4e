// Aids for the document tests: a document opened into a fresh temporary
// folder, its body as buffered so far, and the file read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "config/run.h"
#include "config/session.h"
#include "hta/document.h"

namespace htatest {

namespace fs = std::filesystem;

// Reads a whole file; empty when it is missing.
inline std::string read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh temporary folder for one test, removed with everything in it.
struct TempFolder {
    fs::path dir;
    TempFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("zalprint-hta-") + test->name() + "-" +
                           std::to_string(std::random_device{}());
        for (char& c : name)
            if (c == '/') c = '-';  // parameterised test names hold a "/"
        dir = fs::temp_directory_path() / name;
        fs::create_directories(dir);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // A file of the folder as the suite names it: OEM bytes, backslashes.
    std::string suite_path(const std::string& name) const {
        std::string text = (dir / name).string();
        for (char& c : text)
            if (c == '/') c = '\\';
        return text;
    }
};

// A document of the run with its session, options and text stack, whose
// path lies in a temporary folder.
struct DocumentFixture : testing::Test {
    TempFolder folder;
    config::SessionContext session;
    config::RunOptions options;
    hta::HtaDocument document;
    hta::TextStack stack;
    std::size_t header_size = 0;

    DocumentFixture() {
        session.title = "  Factures ";
        session.operator_name = "Anna";
        options.show_document = false;
        document.path = folder.suite_path("AB12CD34.hta");
    }
    ~DocumentFixture() override { hta::document_close_file(document); }

    // Opens the document as a DEVICE line does and notes where the body starts.
    void open() {
        hta::open_document(document, session, options, "P");
        header_size = document.output.size();
    }
    // The body buffered since open(); nothing is flushed for small documents.
    std::string body() const { return document.output.substr(header_size); }
    // The document file as it is on disk.
    std::string file_bytes() const { return read_bytes(folder.dir / "AB12CD34.hta"); }
};

}  // namespace htatest
