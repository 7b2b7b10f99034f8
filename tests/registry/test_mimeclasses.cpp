#include "regtestenv.h"

#include "vcl/core/strings.h"
#include "vcl/registry/registry.h"

#include <QFileInfo>

using namespace vcl;
using regtest::RegistryTest;

namespace {

// The type name of a file as the FTP browser and the shell views look it up: extension
// key, then class key; a folder's class is "Folder".
QString FileTypeName(const QString& Extension, bool IsFolder)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly(Extension))
        return Extension.mid(1).toUpper() + QStringLiteral(" file");
    QString className = reg.ReadString("");
    reg.CloseKey();
    if (IsFolder)
        className = QStringLiteral("Folder");
    return reg.OpenKeyReadOnly(className) ? reg.ReadString("") : QString();
}

} // namespace

// Descriptions are the English comments of shared-mime-info's freedesktop.org.xml.
TEST_F(RegistryTest, ClassesRootShowsTheMimeDatabase)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey(".zip", false));
    EXPECT_EQ(reg.ReadString(""), "application/zip");
    EXPECT_EQ(reg.GetDataType(""), rdString);
    ASSERT_TRUE(reg.OpenKey("\\application/zip", false));
    EXPECT_EQ(reg.ReadString(""), "Zip archive");
    ASSERT_TRUE(reg.OpenKey("\\.ZIP", false));
    EXPECT_EQ(reg.ReadString(""), "application/zip");
    ASSERT_TRUE(reg.OpenKey("\\Folder", false));
    EXPECT_EQ(reg.ReadString(""), "folder");

    EXPECT_FALSE(reg.OpenKey("\\.qvnosuchextension", false));
    EXPECT_FALSE(reg.KeyExists("\\.qvnosuchextension"));
    EXPECT_FALSE(reg.KeyExists("\\.zip\\shell"));

    TStringList roots;
    ASSERT_TRUE(reg.OpenKey("\\", false));
    EXPECT_EQ(reg.ReadString(""), QString());
    reg.GetKeyNames(roots);
    EXPECT_GE(roots.IndexOf(".zip"), 0);
    EXPECT_GE(roots.IndexOf("application/zip"), 0);
    EXPECT_GE(roots.IndexOf("Folder"), 0);
}

TEST_F(RegistryTest, ClassesRootTypeNameLookups)
{
    EXPECT_EQ(FileTypeName(".zip", false), "Zip archive");
    EXPECT_EQ(FileTypeName(".qvnosuchextension", false), "QVNOSUCHEXTENSION file");
    // A folder without extension opens the root itself and takes the "Folder" class.
    EXPECT_EQ(FileTypeName("", true), "folder");
}

TEST_F(RegistryTest, ClassesRootRefusesWrites)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(reg.OpenKey(".qvnewextension", true));
    EXPECT_THROW(reg.CreateKey(".qvnewextension"), ERegistryException);
    EXPECT_FALSE(reg.DeleteKey(".zip"));
    ASSERT_TRUE(reg.OpenKey(".zip", true));
    EXPECT_THROW(reg.WriteString("", "text/plain"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("n", 1), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue(""));
    EXPECT_EQ(reg.ReadString(""), "application/zip");
    EXPECT_FALSE(QFileInfo::exists(StoreFile("HKEY_CLASSES_ROOT")));
}
