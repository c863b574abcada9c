#pragma once
// File dialogs answered from a script: each request is recorded and gets
// the next path (an empty one, or none left, is a cancelled dialog).

#include "pages/FileChooser.h"

#include <QFile>
#include <QString>

#include <deque>
#include <vector>

namespace halcyra::test {

struct FileScript final : IFileChooser {
    std::optional<std::string> ChooseFile(const FileRequest& request) override
    {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        const QString path = answers.front();
        answers.pop_front();
        if (path.isEmpty())
            return std::nullopt;
        return QFile::encodeName(path).toStdString();
    }
    std::vector<FileRequest> requests;
    std::deque<QString> answers;
};

} // namespace halcyra::test
