// The API reference in docs/api/ is tested the way a reader uses it: every
// page's examples are sent in page order through the web server to the demo
// appliance, and each reply must be the documented one (values listed after
// "Varies:" compared by JSON type only). Every function of the table must
// have exactly one section, and no section may name a function that is not
// there. With KVNC_RECORD_EXAMPLES=1 the replies are printed instead of
// compared, for writing a page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "front/function_table.h"
#include "tests/support/api_test.h"
#include "tests/support/nginx.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

const std::filesystem::path kPages = std::filesystem::path(KVNC_SOURCE_DIR) / "docs" / "api";

constexpr int kPort = 18090;

struct Section {
  std::string page;
  int line = 0;  // of the "## FN" heading
  int fn = -1;
  std::string name;
  std::vector<std::string> blocks;  // the ```json blocks: request, reply
  std::set<std::string> varies;     // JSON pointers compared by type only
};

// The functions that answer without a slot of the table: login, logout and
// resuming a session run with the web session, the service agreement before
// any check.
const std::map<int, std::string> kUnslotted = {
    {0, "Login"}, {1, "Logout"}, {118, "GetServiceAgreement"}, {309, "ResumeSession"}};

std::vector<std::string> PageNames() {
  std::vector<std::string> names;
  if (std::filesystem::is_directory(kPages)) {
    for (const auto &entry : std::filesystem::directory_iterator(kPages)) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".md" && name != "README.md") names.push_back(entry.path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A page's sections: "## FN <number>: <Name>" up to the next heading of that
// level; inside, the fenced ```json blocks and a "Varies:" line of `pointers`.
std::vector<Section> ReadPage(const std::string &page) {
  std::ifstream in(kPages / (page + ".md"));
  const std::regex heading(R"(^## FN (\d+): (\w+)\s*$)");
  const std::regex pointer("`([^`]*)`");
  std::vector<Section> sections;
  std::string line, block;
  bool in_block = false, in_json = false;
  for (int number = 1; std::getline(in, line); ++number) {
    if (in_block) {
      if (line.rfind("```", 0) == 0) {
        in_block = false;
        if (in_json && !sections.empty()) sections.back().blocks.push_back(block);
      } else {
        block += line + "\n";
      }
      continue;
    }
    std::smatch match;
    if (line.rfind("```", 0) == 0) {
      in_block = true;
      in_json = line == "```json";
      block.clear();
    } else if (std::regex_match(line, match, heading)) {
      sections.push_back({page, number, std::stoi(match[1]), match[2], {}, {}});
    } else if (line.rfind("## ", 0) == 0) {
      sections.push_back({page, number, -1, line, {}, {}});
    } else if (line.rfind("Varies:", 0) == 0 && !sections.empty()) {
      for (auto it = std::sregex_iterator(line.begin(), line.end(), pointer); it != std::sregex_iterator(); ++it) {
        sections.back().varies.insert((*it)[1]);
      }
    }
  }
  return sections;
}

const char *TypeName(const Json &value) {
  return value.is_number() ? "number" : value.type_name();  // integer or not, a number is a number
}

// Where `actual` departs from `documented`, empty when it does not.
std::string Difference(const Json &documented, const Json &actual, const std::string &at,
                       const std::set<std::string> &varies) {
  if (std::string(TypeName(documented)) != TypeName(actual)) {
    return at + ": " + TypeName(actual) + " where the page has " + TypeName(documented);
  }
  if (varies.count(at) != 0) return "";
  if (documented.is_object()) {
    for (const auto &[key, value] : documented.items()) {
      if (!actual.contains(key)) return at + "/" + key + ": missing";
      std::string difference = Difference(value, actual[key], at + "/" + key, varies);
      if (!difference.empty()) return difference;
    }
    for (const auto &[key, value] : actual.items()) {
      if (!documented.contains(key)) return at + "/" + key + ": not on the page";
    }
    return "";
  }
  if (documented.is_array()) {
    if (documented.size() != actual.size()) {
      return at + ": " + std::to_string(actual.size()) + " elements where the page has " +
             std::to_string(documented.size());
    }
    for (size_t i = 0; i < documented.size(); ++i) {
      std::string difference = Difference(documented[i], actual[i], at + "/" + std::to_string(i), varies);
      if (!difference.empty()) return difference;
    }
    return "";
  }
  return documented == actual ? "" : at + ": " + actual.dump() + " where the page has " + documented.dump();
}

void ReplaceAll(std::string &text, const std::string &from, const std::string &to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

TEST(ApiReferencePages, EveryFunctionHasOneSectionWithAnExample) {
  std::map<int, std::string> functions = kUnslotted;
  for (int32_t fn = 0; fn < kApiFunctionCount; ++fn) {
    if (const ApiFunction *slot = FindApiFunction(fn)) functions[fn] = slot->name;
  }
  std::map<int, std::string> documented;  // FN -> where
  for (const std::string &page : PageNames()) {
    for (const Section &section : ReadPage(page)) {
      const std::string where = page + ".md:" + std::to_string(section.line);
      if (section.fn < 0) continue;  // a heading of prose
      const auto function = functions.find(section.fn);
      if (function == functions.end()) {
        ADD_FAILURE() << where << ": FN " << section.fn << " is not in the function table";
        continue;
      }
      EXPECT_EQ(section.name, function->second) << where;
      const auto [earlier, fresh] = documented.emplace(section.fn, where);
      EXPECT_TRUE(fresh) << where << ": FN " << section.fn << " also at " << earlier->second;
      ASSERT_EQ(section.blocks.size(), 2U) << where << ": one ```json request and one ```json reply";
      const Json request = Json::parse(section.blocks[0], nullptr, false);
      EXPECT_TRUE(request.is_object() && request.value("FN", -1) == section.fn) << where << ": " << section.blocks[0];
      EXPECT_FALSE(Json::parse(section.blocks[1], nullptr, false).is_discarded()) << where << ": the reply";
    }
  }
  for (const auto &[fn, name] : functions) {
    EXPECT_TRUE(documented.count(fn) == 1) << "FN " << fn << " (" << name << ") has no section";
  }
}

// Each page runs on a fresh demo appliance, its examples in page order, as
// the user admin (logged in again after an example that logs out).
class ApiReference : public ApiTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    ApiTest::SetUp();
    HoldReadings(sim().Dump(), "");
    nginx_ = std::make_unique<Nginx>(KVNC_SOURCE_DIR, kPort);
    ASSERT_TRUE(nginx_->ok()) << "see /var/log/nginx.out and /var/log/nginx-error.log";
  }
  void TearDown() override { nginx_.reset(); }

  // Every reading of the appliance held at its middle value, so that the
  // examples' readings, and the threshold crossings and alarms they would
  // cause, are the same in every run.
  void HoldReadings(const Json &node, const std::string &at) {
    if (node.is_object()) {
      if (node.contains("swing") && node.contains("period")) {
        sim().Set(at + "/swing", 0);
        return;
      }
      for (const auto &[key, value] : node.items()) HoldReadings(value, at + "/" + key);
    } else if (node.is_array()) {
      for (size_t i = 0; i < node.size(); ++i) HoldReadings(node[i], at + "/" + std::to_string(i));
    }
  }

  std::string Session() {
    if (sid_.empty()) {
      const Json reply =
          Json::parse(Curl("POST", "127.0.0.1", kPort, R"({"FN":0,"PRM":{"USER":"admin","PWD":"admin-secret"}})").body,
                      nullptr, false);
      if (reply.is_object()) sid_ = reply.value("/response/SESSION/ID"_json_pointer, std::string());
    }
    return sid_;
  }

  std::unique_ptr<Nginx> nginx_;
  std::string sid_;
};

TEST_P(ApiReference, ExamplesAnswerAsDocumented) {
  const bool record = std::getenv("KVNC_RECORD_EXAMPLES") != nullptr;
  for (const Section &section : ReadPage(GetParam())) {
    if (section.fn < 0 || section.blocks.size() != 2) continue;  // the test above reports those
    SCOPED_TRACE(section.page + ".md:" + std::to_string(section.line) + " FN " + std::to_string(section.fn));
    std::string request = section.blocks[0];
    if (request.find("<SID>") != std::string::npos) ReplaceAll(request, "<SID>", Session());
    const HttpReply reply = Curl("POST", "127.0.0.1", kPort, request);
    EXPECT_EQ(reply.status, 200);
    const Json actual = Json::parse(reply.body, nullptr, false);
    if (section.fn == kLogoutFn) sid_.clear();
    if (record) {
      std::cout << section.page << ".md:" << section.line << " FN " << section.fn << "\n" << actual.dump() << "\n";
      continue;
    }
    const Json documented = Json::parse(section.blocks[1], nullptr, false);
    EXPECT_EQ(Difference(documented, actual, "", section.varies), "") << reply.body;
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, ApiReference, ::testing::ValuesIn(PageNames()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                           std::string name = info.param;
                           for (char &c : name) {
                             if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
                           }
                           return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ApiReference);

}  // namespace
}  // namespace kvnc::test
