#pragma once
// Resolves the full path of a file that the library looks for.

#include <string>

class FileNameCallback
{
public:
    virtual ~FileNameCallback() = default;
    // [host thread] The file's full path into `result`.
    virtual void ResolveFileName (std::string& result) = 0;
};

// A file beside the host program: the program's folder followed by the relative path.
class DefaultPathFileNameCallback : public FileNameCallback
{
public:
    explicit DefaultPathFileNameCallback (std::string relativePath) : fRelativePath (std::move (relativePath)) {}

    void ResolveFileName (std::string& result) override;

private:
    std::string fRelativePath;
};
