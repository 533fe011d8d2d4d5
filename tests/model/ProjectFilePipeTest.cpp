#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

// A named pipe where the project file should be would never end: it is
// refused without reading, as a non-file error.
TEST(ProjectFilePipe, PipeIsRefusedWithoutReading) {
    TempFolder folder("velkora-model");
    ASSERT_FALSE(folder.Path().empty());
    const std::string fifo = folder / "fifo.vkp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CAffProject p;
    ProjectFileResult r = LoadProjectFile(fifo, p);
    EXPECT_EQ(r.code, ProjectFileResult::Code::OtherError);
    EXPECT_EQ(r.message, "Failed to open document.");
}
