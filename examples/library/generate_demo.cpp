// Generates documents of the demo repository's first profile with
// ClsXMLGenerator, as
//   tqlm-xmlgen generate --repository REPOSITORY --profile 1 --list sacus010,saord020,sainv040 --xml-path FOLDER
// does, its log on standard output. Usage: generate_demo REPOSITORY FOLDER
#include <cstdio>
#include <filesystem>
#include <memory>

#include <tqlm/cls_xml_generator.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: generate_demo REPOSITORY FOLDER\n");
    return 2;
  }
  std::filesystem::create_directories(argv[2]);  // the class writes into an existing folder
  tqlm::ClsXMLGenerator generator;
  generator.ConnectionString(argv[1]);
  generator.MigrationProfile(1);
  generator.XMLPath(argv[2]);
  generator.LogFileName(std::make_shared<tqlm::StdioTextStream>(stdout));
  generator.ListOfMappingObjectsSelected("sacus010,saord020,sainv040");
  if (generator.GenerateXMLFile() != tqlm::kTrue) {
    std::fprintf(stderr, "%s\n", generator.ErrorDescription().c_str());
    return 1;
  }
  std::printf("%d documents written\n", generator.XMLSuccess());
  return generator.XMLErrors() > 0 ? 3 : 0;
}
