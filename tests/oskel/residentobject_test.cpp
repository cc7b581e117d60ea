// Reference counting of shared drawing objects, apart from any drawing platform.
#include "residentobject.h"

#include <gtest/gtest.h>

namespace {

// Counts the creation and deletion hooks; creation can be made to fail.
class CountingResident : public CMyResidentObject {
public:
    int CreateResidentObject() override {
        ++created;
        if (failCreation) return 0;
        exists = true;
        return 1;
    }
    int DeleteResidentObject() override {
        ++deleted;
        exists = false;
        return 1;
    }
    int created = 0;
    int deleted = 0;
    bool exists = false;
    bool failCreation = false;
};

TEST(ResidentObject, CreatedAtFirstReferenceDeletedAtLast) {
    CountingResident object;
    EXPECT_EQ(object.AddReference(), 1);
    EXPECT_EQ(object.AddReference(), 1);
    EXPECT_EQ(object.created, 1);
    EXPECT_EQ(object.GetReferenceCount(), 2);
    EXPECT_EQ(object.ReleaseReference(), 1);
    EXPECT_EQ(object.deleted, 0);
    EXPECT_TRUE(object.exists);
    EXPECT_EQ(object.ReleaseReference(), 1); // the deletion hook's result
    EXPECT_EQ(object.deleted, 1);
    EXPECT_FALSE(object.exists);
    EXPECT_EQ(object.ReleaseReference(), 0); // nothing left to release
    EXPECT_EQ(object.deleted, 1);
    EXPECT_EQ(object.GetReferenceCount(), 0);
}

TEST(ResidentObject, FailedCreationIsRetried) {
    CountingResident object;
    object.failCreation = true;
    EXPECT_EQ(object.AddReference(), 0);
    EXPECT_EQ(object.GetReferenceCount(), 0);
    object.failCreation = false;
    EXPECT_EQ(object.AddReference(), 1);
    EXPECT_EQ(object.created, 2);
    EXPECT_EQ(object.GetReferenceCount(), 1);
}

TEST(ResidentObject, RecreatedAfterTheLastRelease) {
    CountingResident object;
    object.AddReference();
    object.ReleaseReference();
    object.AddReference();
    EXPECT_EQ(object.created, 2);
    EXPECT_TRUE(object.exists);
}

} // namespace
