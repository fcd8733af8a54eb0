#include "driver/system_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/content_stream.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

// The stored form of "Secret12" (key offset 7), and of "Other99" (offset 2).
const std::string kSecret12 = "\"31 V{a'bghyitx{y}rk&u`b";
const std::string kOther99 = "\"61/Np{1ja~l|tpyjtka`:b|";
// The stored form of "Secret12" with its first block character changed: the check fails.
const std::string kWrongCheck = "\"31 W{a'bghyitx{y}rk&u`b";

// A complete, usable profile; `eol` ends every line.
std::string GoodProfile(const std::string& eol = "\r\n") {
  return "* Kelvoran system profile" + eol +        //
         "Destination: PRD" + eol +                 //
         "Client.....: 100" + eol +                 //
         "User.......: smith" + eol +               //
         "Password...: " + kSecret12 + eol +        //
         "Language...: E" + eol +                   //
         "Mode.......: R/3" + eol +                 //
         "Hostname...: sapprd.example.com" + eol +  //
         "Sysnr......: 00" + eol +                  //
         "Gwhost.....: sapgw.example.com" + eol +   //
         "Gwservice..: sapgw00" + eol +             //
         "Extcompany.: ACME Corp" + eol;
}

// The record a reading leaves, as a whole.
struct Record {
  std::string destination = "PRD", client = "100", user = "SMITH", password = "Secret12",
              language = "E", mode = "R/3", hostname = "sapprd.example.com",
              displayHost = "sapprd.example.com", sysnr = "00", gwhost = "sapgw.example.com",
              gwservice = "sapgw00", extcompany = "ACME Corp";
  bool invalid = false;

  std::string Text() const {
    return "Destination=" + destination + "\nClient=" + client + "\nUser=" + user +
           "\nPassword=" + password + "\nLanguage=" + language + "\nMode=" + mode +
           "\nHostname=" + hostname + "\nDisplayHost=" + displayHost + "\nSysnr=" + sysnr +
           "\nGwhost=" + gwhost + "\nGwservice=" + gwservice + "\nExtcompany=" + extcompany +
           "\nInvalid=" + (invalid ? "yes" : "no") + "\n";
  }
};

// The whole record, one setting per line, for comparing in one piece.
std::string Describe(const RunContext& ctx) {
  const SystemProfile& p = ctx.profile;
  Record r;
  r.destination = p.destination;
  r.client = p.client;
  r.user = p.user;
  r.password = p.password;
  r.language = p.language;
  r.mode = p.mode;
  r.hostname = p.hostname;
  r.displayHost = ctx.displayHost;
  r.sysnr = p.sysnr;
  r.gwhost = p.gwhost;
  r.gwservice = p.gwservice;
  r.extcompany = p.extcompany;
  r.invalid = ctx.profileInvalid;
  return r.Text();
}

struct ReadResult {
  FatalError error;
  std::string record;
};

ReadResult Read(const std::string& content, ProfileReading reading) {
  TestContext t;
  t.ctx.profileName = "PRD.P00";
  ReadResult result;
  result.error = ReadSystemProfile(t.ctx, StreamHolding(content), reading);
  result.record = Describe(t.ctx);
  return result;
}

TEST(SystemProfileTest, ReadsEverySettingWithEitherLineEnd) {
  const std::string good = GoodProfile();
  struct Case {
    const char* label;
    std::string profile;
  } cases[] = {{"CR LF", good},
               {"LF", GoodProfile("\n")},
               // Saved by Notepad: the mark is no part of the first key.
               {"a byte order mark before the first key",
                "\xEF\xBB\xBF" + good.substr(good.find("Destination:"))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    for (ProfileReading reading : {ProfileReading::Strict, ProfileReading::Lenient}) {
      const ReadResult result = Read(c.profile, reading);
      EXPECT_EQ(result.error, std::nullopt);
      EXPECT_EQ(result.record, Record().Text());
    }
  }
}

// What a line added at the end of the good profile does to the record.
TEST(SystemProfileTest, SettingLines) {
  const std::string seventy(70, 'x');
  struct Case {
    const char* label;
    std::string lines;
    Record expected;
  } cases[] = {
      {"user in upper case, letters a to z only", "User.......: o'brien_9\n",
       [] {
         Record r;
         r.user = "O'BRIEN_9";
         return r;
       }()},
      {"the separator is skipped whatever it is", "User.......:Xjones\n",
       [] {
         Record r;
         r.user = "JONES";
         return r;
       }()},
      {"a value is cut to 60 characters", "Extcompany.: " + seventy + "\n",
       [&] {
         Record r;
         r.extcompany = seventy.substr(0, 60);
         return r;
       }()},
      {"blanks inside and at the end are kept", "Client.....:  1 0 \n",
       [] {
         Record r;
         r.client = " 1 0 ";
         return r;
       }()},
      {"the later of two lines wins", "Client.....: 200\nClient.....: 300\n",
       [] {
         Record r;
         r.client = "300";
         return r;
       }()},
      {"a lone CR ends the last line", "Client.....: 200\r",
       [] {
         Record r;
         r.client = "200";
         return r;
       }()},
      {"a key in another letter case is no key", "client.....: 200\nCLIENT.....: 300\n", Record()},
      {"a key with too few dots is no key", "Client....: 200\n", Record()},
      {"a line that ends after the key gives an empty value", "Language...:\n",
       [] {
         Record r;
         r.language = "";
         r.invalid = true;
         return r;
       }()},
      {"the host name is the display host too", "Hostname...: sapapp2\n",
       [] {
         Record r;
         r.hostname = r.displayHost = "sapapp2";
         return r;
       }()},
      {"a second password line is decoded in its turn", "Password...: " + kOther99 + "\n",
       [] {
         Record r;
         r.password = "Other99";
         return r;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ReadResult result = Read(GoodProfile() + c.lines, ProfileReading::Lenient);
    EXPECT_EQ(result.error, std::nullopt);
    EXPECT_EQ(result.record, c.expected.Text());
  }
}

std::string Without(std::string profile, const std::string& key) {
  const std::size_t at = profile.find(key);
  const std::size_t end = profile.find('\n', at);
  return profile.erase(at, end + 1 - at);
}

std::string Replaced(std::string profile, const std::string& key, const std::string& line) {
  const std::size_t at = profile.find(key);
  const std::size_t end = profile.find('\r', at);
  return profile.replace(at, end - at, line);
}

TEST(SystemProfileTest, StrictReadingStopsAtTheFirstProblem) {
  const std::string at = "Error 1003: Invalid Parameter(s) at PRD.P00 found...";
  const std::string badPassword = "Error 1004: Invalid Password in Profile PRD.P00 found...";
  const std::string wrongPassword = "Error 1005: Wrong Password in Profile PRD.P00 found...";
  const std::string noUser = "Error 1006: Username in Profile PRD.P00 is missing...";
  const std::string noPassword = "Error 1007: Password in Profile PRD.P00 is missing...";
  const std::string good = GoodProfile();
  struct Case {
    const char* label;
    std::string profile;
    std::string error;
  } cases[] = {
      {"a two-character client", Replaced(good, "Client", "Client.....: 10"), at},
      {"the client key in lower case", Replaced(good, "Client", "client.....: 100"), at},
      {"a 12-character destination", Replaced(good, "Destination", "Destination: PRD456789012"),
       at},
      {"a 48-character user", Replaced(good, "User", "User.......: " + std::string(48, 'u')), at},
      {"a one-character extcompany", Replaced(good, "Extcompany", "Extcompany.: A"), at},
      {"an empty password value", Replaced(good, "Password", "Password...: "), noPassword},
      {"a password key without separator", Replaced(good, "Password", "Password...:"), noPassword},
      {"no password line", Without(good, "Password"), noPassword},
      {"a header of length 00", Replaced(good, "Password", "Password...: -61(P;;CH<L.!@.6Q'3U4%J0"),
       noPassword},
      {"no user line", Without(good, "User"), noUser},
      {"user before password", Without(Without(good, "User"), "Password"), noUser},
      {"user and password before lengths",
       Replaced(Without(good, "Password"), "Client", "Client.....: 1"), noPassword},
      {"23 stored characters",
       Replaced(good, "Password", "Password...: " + kSecret12.substr(0, 23)), badPassword},
      {"25 stored characters", Replaced(good, "Password", "Password...: " + kSecret12 + "x"),
       badPassword},
      {"a bad password line beats a missing user",
       "Password...: " + kSecret12.substr(0, 23) + "\r\n", badPassword},
      {"a wrong check digit beats a missing user", "Password...: " + kWrongCheck + "\r\n",
       wrongPassword},
      {"the first bad password line ends the reading",
       Replaced(good, "Password", "Password...: " + kWrongCheck + "\r\nPassword...: x"),
       wrongPassword},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ReadResult result = Read(c.profile, ProfileReading::Strict);
    EXPECT_EQ(result.error, FatalError(c.error));
  }
}

TEST(SystemProfileTest, LenientReadingMarksTheProfileAndReadsOn) {
  const std::string good = GoodProfile();
  Record invalid;
  invalid.invalid = true;
  struct Case {
    const char* label;
    std::string profile;
    Record expected;
  } cases[] = {
      {"a usable profile", good, Record()},
      {"a two-character client", Replaced(good, "Client", "Client.....: 10"),
       [&] {
         Record r = invalid;
         r.client = "10";
         return r;
       }()},
      {"no user line", Without(good, "User"),
       [&] {
         Record r = invalid;
         r.user = "";
         return r;
       }()},
      {"no password line", Without(good, "Password"),
       [&] {
         Record r = invalid;
         r.password = "";
         return r;
       }()},
      // A stored value one character too long: marked, yet the first 24 characters still
      // give the password, and the lines after it are read.
      {"25 stored characters", Replaced(good, "Password", "Password...: " + kSecret12 + "x"),
       invalid},
      {"23 stored characters",
       Replaced(good, "Password", "Password...: " + kSecret12.substr(0, 23)),
       [&] {
         Record r = invalid;
         r.password = "";
         return r;
       }()},
      {"a wrong check digit leaves the password as it was",
       good + "Password...: " + kWrongCheck + "\r\nClient.....: 200\r\n",
       [&] {
         Record r = invalid;
         r.client = "200";
         return r;
       }()},
      {"a 12-character destination is not cut",
       Replaced(good, "Destination", "Destination: PRD456789012"),
       [&] {
         Record r = invalid;
         r.destination = "PRD456789012";
         return r;
       }()},
      {"a 48-character host name",
       Replaced(good, "Hostname", "Hostname...: " + std::string(48, 'h')),
       [&] {
         Record r = invalid;
         r.hostname = r.displayHost = std::string(48, 'h');
         return r;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ReadResult result = Read(c.profile, ProfileReading::Lenient);
    EXPECT_EQ(result.error, std::nullopt);
    EXPECT_EQ(result.record, c.expected.Text());
  }
}

// The strict reading takes 159 characters per read, the lenient one 199; the rest of a longer
// line is read as a line of its own, and may be a setting.
TEST(SystemProfileTest, LongLinesAreReadInPieces) {
  const std::string comment159 = "*" + std::string(158, '-');
  const std::string comment199 = "*" + std::string(198, '-');
  const std::string good = GoodProfile();
  struct Case {
    const char* label;
    std::string profile;
    ProfileReading reading;
    FatalError error;
    std::string client;
  } cases[] = {
      {"strict: a setting after 159 characters", good + comment159 + "Client.....: 200\r\n",
       ProfileReading::Strict, std::nullopt, "200"},
      {"lenient: the same line is one comment", good + comment159 + "Client.....: 200\r\n",
       ProfileReading::Lenient, std::nullopt, "100"},
      {"lenient: a setting after 199 characters", good + comment199 + "Client.....: 200\r\n",
       ProfileReading::Lenient, std::nullopt, "200"},
      {"strict: exactly 159 characters and CR LF", good + comment159 + "\r\nClient.....: 300\r\n",
       ProfileReading::Strict, std::nullopt, "300"},
      {"strict: exactly 158 characters and CR LF",
       good + comment159.substr(1) + "\r\nClient.....: 300\r\n", ProfileReading::Strict,
       std::nullopt, "300"},
      {"strict: a long value line breaks into a short client",
       good + "Extcompany.: " + std::string(146, 'e') + "Client.....: 12\r\n",
       ProfileReading::Strict, FatalError("Error 1003: Invalid Parameter(s) at PRD.P00 found..."),
       "12"},
      {"lenient: the same value line is read whole",
       good + "Extcompany.: " + std::string(146, 'e') + "Client.....: 12\r\n",
       ProfileReading::Lenient, std::nullopt, "100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.profileName = "PRD.P00";
    EXPECT_EQ(ReadSystemProfile(t.ctx, StreamHolding(c.profile), c.reading), c.error);
    EXPECT_EQ(t.ctx.profile.client, c.client);
    EXPECT_EQ(t.ctx.profileInvalid, false);
  }
}

// Every setting has a shortest and a longest accepted value; one character outside either
// is refused, never cut.
TEST(SystemProfileTest, LengthLimitsOfEverySetting) {
  struct Case {
    const char* key;
    std::string SystemProfile::*field;
    std::size_t shortest;
    std::size_t longest;
  } cases[] = {
      {"Extcompany", &SystemProfile::extcompany, 2, 63},
      {"Destination", &SystemProfile::destination, 3, 11},
      {"Client", &SystemProfile::client, 3, 11},
      {"User", &SystemProfile::user, 2, 47},
      {"Password", &SystemProfile::password, 2, 31},
      {"Language", &SystemProfile::language, 1, 31},
      {"Mode", &SystemProfile::mode, 3, 31},
      {"Hostname", &SystemProfile::hostname, 2, 47},
      {"Sysnr", &SystemProfile::sysnr, 2, 31},
      {"Gwhost", &SystemProfile::gwhost, 2, 61},
      {"Gwservice", &SystemProfile::gwservice, 2, 31},
  };
  const FatalError refused("Error 1003: Invalid Parameter(s) at PRD.P00 found...");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    struct Length {
      std::size_t length;
      FatalError error;
    } lengths[] = {{c.shortest - 1, refused},
                   {c.shortest, std::nullopt},
                   {c.longest, std::nullopt},
                   {c.longest + 1, refused}};
    for (const Length& l : lengths) {
      SCOPED_TRACE(l.length);
      if (l.length == 0 && (c.field == &SystemProfile::user || c.field == &SystemProfile::password))
        continue;  // an empty user or password has its own message
      for (ProfileReading reading : {ProfileReading::Strict, ProfileReading::Lenient}) {
        TestContext t;
        t.ctx.profileName = "PRD.P00";
        ASSERT_EQ(ReadSystemProfile(t.ctx, StreamHolding(GoodProfile()), reading), std::nullopt);
        t.ctx.profile.*c.field = std::string(l.length, 'v');
        const FatalError error = ValidateSystemProfile(t.ctx, reading);
        if (reading == ProfileReading::Strict) {
          EXPECT_EQ(error, l.error);
        } else {
          EXPECT_EQ(error, std::nullopt);
          EXPECT_EQ(t.ctx.profileInvalid, l.error.has_value());
        }
      }
    }
  }
}

// Values are cut to 60 characters, but a gateway host may hold 61: it is read whole, so a
// longer one is refused instead of connecting to a cut host name.
TEST(SystemProfileTest, GatewayHostIsNeverCut) {
  struct Case {
    std::size_t length;
    FatalError error;
  } cases[] = {{60, std::nullopt},
               {61, std::nullopt},
               {62, "Error 1003: Invalid Parameter(s) at PRD.P00 found..."},
               {90, "Error 1003: Invalid Parameter(s) at PRD.P00 found..."}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const std::string host(c.length, 'g');
    std::string profile = GoodProfile();
    profile.replace(profile.find("sapgw.example.com"), 17, host);
    TestContext t;
    t.ctx.profileName = "PRD.P00";
    EXPECT_EQ(ReadSystemProfile(t.ctx, StreamHolding(profile), ProfileReading::Strict), c.error);
    EXPECT_EQ(t.ctx.profile.gwhost, host);
  }
}

}  // namespace
}  // namespace kelvoran
