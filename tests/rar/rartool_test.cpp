// rartool as a program: its words reach the extractor in order, "-d" names the destination
// folder before the command or after the archive, and the exit code tells whether the command
// gave an error text or counted an error.
#include <gtest/gtest.h>

#include <string>

#include "tests/rar/support/archive_builder.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_program_folder.h"

namespace {

CommandResult Rartool(const std::string& arguments) {
  return RunCommand(std::string(RARTOOL_PATH) + " " + arguments + " 2>&1");
}

class RartoolTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    folder_.WriteFile("plain.rar", RarArchiveBuilder()
                                       .AddFile(RarStoredEntry("docs\\readme.txt", "read me"))
                                       .AddFile(RarStoredEntry("notes.log", "notes"))
                                       .Build());
    folder_.WriteFile("locked.rar", RarArchiveBuilder()
                                        .AddFile(RarEncryptedStoredEntry("secret.txt", "hidden words", "VRZD", 20))
                                        .Build());
    RarEntry damaged = RarStoredEntry("damaged.txt", "damaged");
    damaged.crc ^= 1;
    folder_.WriteFile("damaged.rar",
                      RarArchiveBuilder().AddFile(damaged).AddFile(RarStoredEntry("fine.txt", "fine")).Build());
  }
};

TEST_F(RartoolTest, words_reach_the_extractor_in_order) {
  struct Case {
    const char* label;
    const char* arguments;
    bool ok;                  // exit code 0: the command gave no error text and counted no error
    const char* output_part;  // printed somewhere
    const char* written;      // a file the command leaves ("" for none)
    const char* contents;
  };
  const Case cases[] = {
      {"list", "l plain.rar", true, "Archive plain.rar\n", "", ""},
      {"test", "t plain.rar", true, "\nAll OK", "", ""},
      {"folder_named_last", "e plain.rar -d a", true, "\nAll OK", "a/readme.txt", "read me"},
      {"folder_named_first", "-d b x plain.rar", true, "\nAll OK", "b/docs/readme.txt", "read me"},
      {"mask_then_folder", "x plain.rar *.log -d c", true, "\nAll OK", "c/notes.log", "notes"},
      {"encrypted_with_password", "-y -o+ -c- -pVRZD e locked.rar -d d/", true, "\nAll OK", "d/secret.txt",
       "hidden words"},
      {"encrypted_without_password", "e locked.rar -d e", false, "Password Required", "", ""},
      {"missing_archive", "t none.rar", false, "Unable To Open RAR Archive File", "", ""},
      {"unknown_switch", "-z t plain.rar", false, "Unknown Switch", "", ""},
      // The command ran, but a file failed its check.
      {"file_failing_its_check", "t damaged.rar", false, "\nTotal errors: 1", "", ""},
      {"file_failing_its_check_extracted", "e damaged.rar -d f", false, "\nTotal errors: 1", "f/fine.txt", "fine"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const CommandResult run = Rartool(c.arguments);
    EXPECT_EQ(c.ok, run.status == 0) << run.output;
    EXPECT_NE(-1, run.status) << run.output;
    EXPECT_NE(std::string::npos, run.output.find(c.output_part)) << run.output;
    if (c.written[0] != '\0') {
      EXPECT_EQ(c.contents, folder_.ReadFile(c.written)) << run.output;
    }
  }
  EXPECT_FALSE(folder_.Exists("c/docs/readme.txt"));
}

}  // namespace
