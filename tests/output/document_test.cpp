#include "output/document.h"

#include <gtest/gtest.h>

#include "driver/command_line.h"
#include "output/channel_writer.h"
#include "support/test_context.h"
#include "support/xml_check.h"

namespace kelvoran {
namespace {

// Builds a document the way the query does: text block, then the given channels.
std::string BuildDocument(TestContext& t, const std::string& text,
                          std::initializer_list<std::pair<const char*, const char*>> channels) {
  BeginDocument(t.ctx);
  BeginTextBlock(t.ctx);
  t.ctx.output.Append(text);
  EndTextBlock(t.ctx);
  for (const auto& [name, value] : channels) WriteChannel(t.ctx, name, value, "");
  EndDocument(t.ctx);
  return t.ctx.output.Text();
}

TEST(DocumentTest, EachFlavourGetsItsForm) {
  const std::string kXmlDocument =
      "\n<Prtg>\n\n<Text>T</Text>\n"
      "\n<Result><Channel>No.of DB-Tables</Channel>\n<Value>812</Value></Result>\n"
      "\n<Result><Channel>No.of Indexes</Channel>\n<Value>1523</Value></Result>\n"
      "\n</Prtg>\n";
  struct Case {
    const char* label;
    HostFlavour flavour;
    const char* options;
    std::string expected;
  } cases[] = {
      {"EXEXML", HostFlavour::ExeXml, "", kXmlDocument},
      {"Quellon is XML", HostFlavour::Quellon, "CH=2", kXmlDocument},
      {"Vistrel is XML", HostFlavour::Vistrel, "", kXmlDocument},
      {"Brennick", HostFlavour::Brennick, "CH=1",
       "\n# T"
       "\n\nMessage.No_of_DB_Tables: No.of DB-Tables (#)\nStatistic.No_of_DB_Tables: 812"
       "\n\nMessage.No_of_Indexes: No.of Indexes (#)\nStatistic.No_of_Indexes: 1523"
       "\n"},
      {"Tolvane", HostFlavour::Tolvane, "",
       "\n# T\n> No.of DB-Tables: 812 #\n> No.of Indexes: 1523 #\n"},
      {"Tolvane selecting channel 2", HostFlavour::Tolvane, "-s ch=2", "1523\n"},
      {"Tolvane selecting no channel", HostFlavour::Tolvane, "CH=7", "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    t.ctx.parameterText = c.options;
    t.ctx.parameterString = ToUpperAscii(c.options);
    EXPECT_EQ(BuildDocument(t, "T", {{"No.of DB-Tables", "812"}, {"No.of Indexes", "1523"}}),
              c.expected);
  }
}

TEST(DocumentTest, ErrorDocumentIsTheSameInEveryFlavourAndReplacesTheBuffer) {
  for (HostFlavour flavour : {HostFlavour::ExeXml, HostFlavour::Brennick, HostFlavour::Tolvane}) {
    SCOPED_TRACE(HostFlavourName(flavour));
    TestContext t;
    t.ctx.hostFlavour = flavour;
    BuildDocument(t, "T", {{"No.of DB-Tables", "812"}});
    WriteErrorDocument(t.ctx, "Error 1018: DataBase mismatch !");
    EXPECT_EQ(t.ctx.output.Text(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n");
  }
}

// After a global run's envelope opening, an XML flavour's fatal ending is the rest of that one
// document; the text flavours have no envelope and keep the whole error document.
TEST(DocumentTest, FatalEndingCompletesAnOpenXmlEnvelope) {
  const std::string whole =
      "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: A&lt;B</Text>\n</Prtg>\n";
  const std::string rest = "<Error>1</Error>\n<Text>Error 1018: A&lt;B</Text>\n</Prtg>\n";
  struct Case {
    HostFlavour flavour;
    bool envelopeOpen;
    std::string expected;
  } cases[] = {
      {HostFlavour::ExeXml, false, whole},   {HostFlavour::ExeXml, true, rest},
      {HostFlavour::Quellon, true, rest},    {HostFlavour::Vistrel, true, rest},
      {HostFlavour::Brennick, true, whole},  {HostFlavour::Tolvane, true, whole},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(HostFlavourName(c.flavour)) + (c.envelopeOpen ? " open" : ""));
    EXPECT_EQ(FatalDocument(c.flavour, c.envelopeOpen, "Error 1018: A<B"), c.expected);
  }
  const std::string cut = FatalDocument(HostFlavour::ExeXml, true, std::string(5000, 'x'));
  EXPECT_LE(cut.size(), kErrorDocumentCapacity);
  EXPECT_EQ(cut.substr(cut.size() - 16), "</Text>\n</Prtg>\n");
}

TEST(DocumentTest, ErrorDocumentEscapesAndStaysComplete) {
  struct Case {
    const char* label;
    std::string message;
    std::string expectedText;
  } cases[] = {
      {"empty", "", ""},
      {"special characters", "Error 1012: Exception.: A<B> & C",
       "Error 1012: Exception.: A&lt;B&gt; &amp; C"},
      {"longer than the document", std::string(5000, '&'), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    WriteErrorDocument(t.ctx, c.message);
    const std::string& doc = t.ctx.output.Text();
    ASSERT_EQ(doc.rfind("<Prtg>\n<Error>1</Error>\n<Text>", 0), 0u);
    ASSERT_GE(doc.size(), 16u);
    EXPECT_EQ(doc.substr(doc.size() - 16), "</Text>\n</Prtg>\n");
    std::string text = doc.substr(30, doc.size() - 46);
    if (c.message.size() > kErrorDocumentCapacity) {
      // Cut between escaped characters, never inside one.
      EXPECT_LE(doc.size(), kErrorDocumentCapacity);
      EXPECT_EQ(text.size() % 5, 0u);
      EXPECT_EQ(text.find_first_not_of("&amp;"), std::string::npos);
    } else {
      EXPECT_EQ(text, c.expectedText);
    }
  }
}

TEST(DocumentTest, OutsideTextIsEscapedOnlyInXmlFlavours) {
  struct Case {
    HostFlavour flavour;
    const char* expected;
  } cases[] = {{HostFlavour::ExeXml, "a&lt;b&gt;&amp;c"},
               {HostFlavour::Vistrel, "a&lt;b&gt;&amp;c"},
               {HostFlavour::Brennick, "a<b>&c"},
               {HostFlavour::Tolvane, "a<b>&c"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(HostFlavourName(c.flavour));
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    AppendOutsideText(t.ctx, "a<b>&c");
    EXPECT_EQ(t.ctx.output.Text(), c.expected);
  }
}

// XML 1.0 allows no control character but tab, line feed and carriage return, not even as a
// reference: the XML flavours show each as '?'; the text flavours keep them.
TEST(DocumentTest, ControlCharactersOfOutsideTextsBecomeQuestionMarksInXml) {
  const std::string text = "a\x01\x08\tb\x0b\x0c\nc\r\x0e\x1f\x1b[0m\x7f\xe4";
  const std::string xml = "a??\tb??\nc\r???[0m\x7f\xc3\xa4";
  struct Case {
    HostFlavour flavour;
    std::string expected;
  } cases[] = {{HostFlavour::ExeXml, xml},
               {HostFlavour::Quellon, xml},
               {HostFlavour::Vistrel, xml},
               {HostFlavour::Brennick, text},
               {HostFlavour::Tolvane, text}};
  for (const Case& c : cases) {
    SCOPED_TRACE(HostFlavourName(c.flavour));
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    AppendOutsideText(t.ctx, text);
    EXPECT_EQ(t.ctx.output.Text(), c.expected);
    // The error document is XML in every flavour.
    EXPECT_EQ(FatalDocument(c.flavour, false, std::string("E\0\x02<", 4)),
              "<Prtg>\n<Error>1</Error>\n<Text>E??&lt;</Text>\n</Prtg>\n");
  }
}

// SAP's classic library delivers its texts in the Windows code page; an XML document without an
// encoding declaration is UTF-8. The message of a German system, as the error document of each
// flavour carries it.
TEST(DocumentTest, ErrorDocumentsOfXmlFlavoursCarryWindowsTextsAsUtf8) {
  const std::string message = "Error 1014: Mandant 100 ist in diesem System nicht verf\xfc" "gbar";
  const std::string utf8 = "Error 1014: Mandant 100 ist in diesem System nicht verf\xc3\xbcgbar";
  struct Case {
    HostFlavour flavour;
    bool envelopeOpen;
    std::string expected;
  } cases[] = {
      {HostFlavour::ExeXml, false,
       "<Prtg>\n<Error>1</Error>\n<Text>" + utf8 + "</Text>\n</Prtg>\n"},
      {HostFlavour::Vistrel, true, "<Error>1</Error>\n<Text>" + utf8 + "</Text>\n</Prtg>\n"},
      {HostFlavour::Tolvane, false,
       "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(HostFlavourName(c.flavour));
    const std::string document = FatalDocument(c.flavour, c.envelopeOpen, message);
    EXPECT_EQ(document, c.expected);
    if (c.flavour != HostFlavour::Tolvane) {
      const std::string whole = c.envelopeOpen ? "\n<Prtg>\n" + document : document;
      EXPECT_EQ(XmlWellFormednessError(whole), "");
    }
  }
}

// A message too long for the buffer is cut before a character of several bytes, never inside.
TEST(DocumentTest, ErrorDocumentIsNotCutInsideACharacter) {
  const std::string head = "<Prtg>\n<Error>1</Error>\n<Text>", tail = "</Text>\n</Prtg>\n";
  const std::size_t room = kErrorDocumentCapacity - head.size() - tail.size();
  for (const std::string last : {"\xfc", "\xc3\xbc", "\xe2\x82\xac"}) {
    SCOPED_TRACE(last);
    const std::string document =
        FatalDocument(HostFlavour::ExeXml, false, std::string(room - 1, 'x') + last);
    EXPECT_EQ(document, head + std::string(room - 1, 'x') + tail);
  }
}

TEST(DocumentTest, BeginDocumentDiscardsEarlierText) {
  TestContext t;
  t.ctx.output.Append("left over");
  BeginDocument(t.ctx);
  EXPECT_EQ(t.ctx.output.Text(), "\n<Prtg>\n");
  t.ctx.hostFlavour = HostFlavour::Tolvane;
  t.ctx.output.Append("left over");
  BeginDocument(t.ctx);
  EXPECT_EQ(t.ctx.output.Text(), "");
}

TEST(OutputBufferTest, AppendsBeyondTheCapacityAreCut) {
  OutputBuffer buffer;
  buffer.Append(std::string(65000, 'a'));
  buffer.Append(std::string(600, 'b'));
  EXPECT_EQ(buffer.Text(), std::string(65000, 'a') + std::string(535, 'b'));
  buffer.Append("c");
  EXPECT_EQ(buffer.Text().size(), OutputBuffer::kCapacity);
  buffer.Assign("new");
  EXPECT_EQ(buffer.Text(), "new");
}

}  // namespace
}  // namespace kelvoran
