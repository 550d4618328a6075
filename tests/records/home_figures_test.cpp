#include "records/home.h"
#include "records/home_figures.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class HomeFiguresTest : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        home.m_strDescription = QStringLiteral("Lake house");
        home.m_fCurrentValue = 250000.0f;
        ASSERT_TRUE(home.Save(db));
    }
    CHome home;
};

TEST_F(HomeFiguresTest, InventoryTotalCountsOneHomeAndOptionallyOneCategory)
{
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, CurrentValue) VALUES "
                       "(101, %1, 3, 0.1), (102, %1, 3, 0.2), (103, %1, 5, 1000.25), "
                       "(104, %1, 0, NULL), (105, %1 + 1, 3, 99)")
            .arg(home.id()));
    // In single precision 0.1 + 0.2 + 1000.25 shows a cent that no asset has.
    EXPECT_DOUBLE_EQ(HomeFigures::inventoryTotal(db, home.id(), 0), 1000.55);
    EXPECT_DOUBLE_EQ(HomeFigures::inventoryTotal(db, home.id(), 3), 0.30000000000000004);
    EXPECT_DOUBLE_EQ(HomeFigures::inventoryTotal(db, home.id(), 7), 0.0);
    EXPECT_DOUBLE_EQ(HomeFigures::inventoryTotal(db, home.id() + 7, 0), 0.0);
}

TEST_F(HomeFiguresTest, EquitySubtractsOnlyTheLoansThatAffectIt)
{
    EXPECT_FLOAT_EQ(HomeFigures::equity(db, home), 250000.0f);
    run(QStringLiteral("INSERT INTO Loans (LoanId, AssetId, AssetType, Principal) VALUES "
                       "(201, %1, 1, 200000), (202, %1, 0, 5000), (203, %1 + 1, 1, 7)")
            .arg(home.id()));
    EXPECT_FLOAT_EQ(HomeFigures::equity(db, home), 50000.0f);
    run(QStringLiteral("INSERT INTO Loans (LoanId, AssetId, AssetType, Principal) VALUES "
                       "(204, %1, 1, 60000.5)")
            .arg(home.id()));
    EXPECT_FLOAT_EQ(HomeFigures::equity(db, home), -10000.5f);
}

} // namespace
