#pragma once
// A publisher's chart under the viewer's own file names, so that the viewer's
// loading sequence can read it as it reads its chart folder: a private copy
// in a fresh temporary folder (the publisher's folder is never written, not
// even a lock), removed with the object. A file that cannot be read is left
// out, and the viewer then says so as it would.
#include <string>

#include "publisher/publisher_folder.h"

namespace publisher {

class ViewerFolder {
public:
    explicit ViewerFolder(const PublisherFolder& folder);
    ~ViewerFolder();
    ViewerFolder(const ViewerFolder&) = delete;
    ViewerFolder& operator=(const ViewerFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace publisher
