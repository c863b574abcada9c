#pragma once
// File dialogs answered from a script: each request is recorded and gets
// the next path (an empty one, or none left, is a cancelled dialog).

#include "app/ui/FileDialogs.h"

#include <QString>

#include <deque>
#include <vector>

namespace halcyra::test {

struct FileScript {
    FileChooser Chooser()
    {
        return [this](QWidget*, const FileRequest& request) {
            requests.push_back(request);
            if (answers.empty())
                return QString();
            QString path = answers.front();
            answers.pop_front();
            return path;
        };
    }
    std::vector<FileRequest> requests;
    std::deque<QString> answers;
};

} // namespace halcyra::test
