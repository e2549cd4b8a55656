// TinyXML (static, STL mode): a document written to a file reads back the same.
#include <windows.h>

#include <tinyxml.h>

#include <gtest/gtest.h>

#include <qmtest/files.h>

#include <string>

namespace {

class TinyXmlFile : public ::testing::Test {
protected:
    void SetUp() override { path_ = dir_.Path("tinyxml.xml"); }
    qmtest::TempDir dir_{"qm-deps-tinyxml"};
    std::string path_;
};

TEST_F(TinyXmlFile, WritesAndReadsBack)
{
    {
        TiXmlDocument doc;
        doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
        auto* root = new TiXmlElement("Tools");
        root->SetAttribute("version", 3);
        doc.LinkEndChild(root);
        for (int i = 0; i < 3; ++i) {
            auto* tool = new TiXmlElement("Tool");
            tool->SetAttribute("name", "Tool " + std::to_string(i));
            tool->SetAttribute("args", "\"$(FilePath)\" <&> 'x'");
            tool->LinkEndChild(new TiXmlText("cmd /c echo " + std::to_string(i)));
            root->LinkEndChild(tool);
        }
        ASSERT_TRUE(doc.SaveFile(path_)) << doc.ErrorDesc();
    }

    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(path_)) << doc.ErrorDesc();
    TiXmlElement* root = doc.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ValueStr(), "Tools");
    int version = 0;
    EXPECT_EQ(root->QueryIntAttribute("version", &version), TIXML_SUCCESS);
    EXPECT_EQ(version, 3);
    int i = 0;
    for (TiXmlElement* tool = root->FirstChildElement("Tool"); tool;
         tool = tool->NextSiblingElement("Tool"), ++i) {
        EXPECT_EQ(*tool->Attribute(std::string("name")), "Tool " + std::to_string(i));
        EXPECT_EQ(*tool->Attribute(std::string("args")), "\"$(FilePath)\" <&> 'x'");
        ASSERT_NE(tool->GetText(), nullptr);
        EXPECT_EQ(std::string(tool->GetText()), "cmd /c echo " + std::to_string(i));
    }
    EXPECT_EQ(i, 3);
}

TEST_F(TinyXmlFile, MalformedAndMissingFilesAreErrors)
{
    TiXmlDocument missing;
    EXPECT_FALSE(missing.LoadFile(path_));
    EXPECT_TRUE(missing.Error());

    TiXmlDocument bad;
    bad.Parse("<Tools>\n  <Tool name=\"a\">\n</Tools>");
    EXPECT_TRUE(bad.Error());
    EXPECT_GE(bad.ErrorRow(), 1);
    EXPECT_STRNE(bad.ErrorDesc(), "");
}

} // namespace
