#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh temporary working folder holding a DependFile tree, entered for one test and left
// (and removed) afterwards, so every test starts from known files.
class TestWorkDir
{
public:
    TestWorkDir();
    ~TestWorkDir();
    TestWorkDir(const TestWorkDir &) = delete;
    TestWorkDir &operator=(const TestWorkDir &) = delete;

    bool isValid() const;
    QString path() const;
    QString filePath(const QString &relative) const;

    // Writes bytes to a file below the folder, creating its folders.
    bool write(const QString &relative, const QByteArray &bytes) const;
    // Copies a file of the repository's DependFile tree to the same place below the folder.
    bool copyFromRepo(const QString &relativeToDependFile) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// A copy of a program in a temporary folder of its own. The program keeps files beside its
// executable (the language file), and a test must never touch those of the real run folder.
class ProgramCopy
{
public:
    explicit ProgramCopy(const QString &executable);
    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Checks that the test's folder and runtime folder are its own, and gives the runtime folder
// the mode Qt wants; call from initTestCase().
void prepareTestEnvironment();
