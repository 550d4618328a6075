#include "db/tools/sample_household.h"

#include "db/tools/household_writer.h"
#include "db/tools/sample_pictures.h"
#include "platform/ole_date.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

namespace SampleHousehold {

namespace {

// Category ids of the schema's starting rows.
enum Category {
    Appliances = 1,
    Art,
    Books,
    Clothing,
    Collectibles,
    Computers,
    Electronics,
    Furniture,
    Jewelry,
    Kitchenware,
    LawnGarden,
    Lighting,
    MusicCds,
    Instruments,
    Rugs,
    Sports,
    Tools,
    Toys,
    Videos,
    Bills,
    Cleaning,
    Errands,
    Maintenance,
    Repairs,
    YardWork
};

constexpr qint32 rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16); // stored as the registry's colour values: 0x00BBGGRR
}

struct SampleArea
{
    int home; // 0 or 1
    const char *name;
    int lengthFeet, widthFeet;
    qint32 colors[3];
    const char *labels[3];
    const char *notes;
};

const SampleArea kAreas[] = {
    { 0,
      "Living Room",
      20,
      15,
      { rgb(0xe8, 0xdc, 0xc4), rgb(0x6b, 0x8e, 0x6b), rgb(0xfa, 0xf8, 0xf2) },
      { "Walls", "Curtains", "Trim" },
      "Paint: Harvest Wheat, eggshell finish." },
    { 0,
      "Kitchen",
      16,
      12,
      { rgb(0xf5, 0xf0, 0xe1), rgb(0x3d, 0x5a, 0x80), rgb(0xb0, 0x8d, 0x57) },
      { "Walls", "Cabinets", "Counter" },
      nullptr },
    { 0,
      "Dining Room",
      14,
      12,
      { rgb(0x9c, 0x3d, 0x36), rgb(0xf2, 0xe8, 0xd5), rgb(0x5a, 0x3e, 0x2b) },
      { "Walls", "Ceiling", "Floor" },
      nullptr },
    { 0,
      "Master Bedroom",
      16,
      14,
      { rgb(0xc9, 0xd6, 0xe3), rgb(0xf7, 0xf4, 0xee), rgb(0x4b, 0x5d, 0x7a) },
      { "Walls", "Trim", "Curtains" },
      "Blackout curtains from the Linen Loft." },
    { 0,
      "Kids' Room",
      12,
      11,
      { rgb(0xf6, 0xd8, 0x6b), rgb(0x7f, 0xb8, 0x5e), rgb(0xfa, 0xf8, 0xf2) },
      { "Walls", "Accent wall", "Trim" },
      nullptr },
    { 0,
      "Study",
      11,
      10,
      { rgb(0x4f, 0x6d, 0x5a), rgb(0xe7, 0xe1, 0xd3), rgb(0x6e, 0x4b, 0x2f) },
      { "Walls", "Ceiling", "Shelves" },
      nullptr },
    { 0,
      "Garage",
      22,
      20,
      { rgb(0xd0, 0xd0, 0xcc), rgb(0x80, 0x80, 0x80), rgb(0xfa, 0xf8, 0xf2) },
      { "Walls", "Floor", "Door" },
      "Two cars, barely." },
    { 0,
      "Basement",
      30,
      24,
      { rgb(0xee, 0xee, 0xe8), rgb(0x9a, 0x9a, 0x94), rgb(0xfa, 0xf8, 0xf2) },
      { "Walls", "Floor", "Ceiling" },
      "Sump pump checked every spring." },
    { 1,
      "Great Room",
      24,
      18,
      { rgb(0xc8, 0xa9, 0x7e), rgb(0x7a, 0x2e, 0x2a), rgb(0xf3, 0xea, 0xda) },
      { "Logs", "Curtains", "Ceiling" },
      "Wood stove in the north corner." },
    { 1,
      "Cabin Kitchen",
      12,
      10,
      { rgb(0xf1, 0xe4, 0xc8), rgb(0x2f, 0x5d, 0x50), rgb(0xfa, 0xf8, 0xf2) },
      { "Walls", "Cabinets", "Trim" },
      nullptr },
    { 1,
      "Bunk Room",
      13,
      11,
      { rgb(0xd9, 0xc6, 0xa5), rgb(0x35, 0x4f, 0x7a), rgb(0xc0, 0x3a, 0x2b) },
      { "Walls", "Quilts", "Curtains" },
      nullptr },
    { 1,
      "Boathouse",
      20,
      12,
      { rgb(0x8c, 0x6a, 0x4a), rgb(0x2a, 0x4c, 0x6e), rgb(0xf0, 0xf0, 0xf0) },
      { "Siding", "Door", "Trim" },
      "Dock lines and life jackets hang on the east wall." },
};

struct SampleItem
{
    int area; // index into kAreas
    int category;
    const char *name;
    double price;
    int ageMonths; // bought this many months before today
    int warrantyMonths; // 0: no warranty date
    const char *vendor;
    const char *makeModel;
    int picture; // a SamplePictures::Picture, or -1
};

const SampleItem kItems[] = {
    // Maple Street: living room
    { 0, Furniture, "Three-seat sofa", 1899, 50, 60, "Hartley & Sons", "Hartley Grant", -1 },
    { 0, Furniture, "Reading armchair", 749, 38, 24, "Hartley & Sons", "Hartley Ellery",
      SamplePictures::Armchair },
    { 0, Furniture, "Oak coffee table", 420, 70, 0, "Estate sale", nullptr, -1 },
    { 0, Electronics, "55-inch television", 899, 20, 24, "City Electronics", "Lumaview LV-55Q",
      SamplePictures::Television },
    { 0, Electronics, "Sound bar", 279, 20, 12, "City Electronics", "Brightwave SB300", -1 },
    { 0, Electronics, "Blu-ray player", 129, 44, 12, "City Electronics", "Lumaview BD-9", -1 },
    { 0, Instruments, "Upright piano", 4200, 96, 120, "Keys & Strings", "Albrecht U-118",
      SamplePictures::Piano },
    { 0, Art, "Oil painting of the harbour", 2600, 84, 0, "Quayside Gallery", "M. Okafor, 1994",
      SamplePictures::Painting },
    { 0, Lighting, "Brass floor lamp", 189, 60, 0, "Main Street Furniture", nullptr,
      SamplePictures::Lamp },
    { 0, Rugs, "Wool area rug, 8 x 10", 1150, 52, 0, "Carpet Loom", "Heriz pattern", -1 },
    { 0, Books, "Encyclopedia set, 24 volumes", 350, 130, 0, "Estate sale", nullptr, -1 },
    { 0, MusicCds, "Jazz CD collection (60 discs)", 540, 150, 0, "Various", nullptr, -1 },
    { 0, Collectibles, "Porcelain figurines (6)", 480, 110, 0, "Antique Barn", nullptr, -1 },
    { 0, Furniture, "Bookcase, walnut", 560, 66, 0, "Main Street Furniture", nullptr, -1 },
    { 0, Electronics, "Streaming box", 99, 12, 12, "Online store", "Flixbox 4K", -1 },
    // kitchen
    { 1, Appliances, "Refrigerator", 1649, 30, 60, "Appliance Depot", "Polar RF-28S", -1 },
    { 1, Appliances, "Dishwasher", 749, 26, 24, "Appliance Depot", "Clearwash DW-450", -1 },
    { 1, Appliances, "Gas range", 1299, 62, 36, "Appliance Depot", "Hearth GR-30", -1 },
    { 1, Appliances, "Microwave oven", 219, 40, 12, "City Electronics", "Quickwave M-20", -1 },
    { 1, Appliances, "Stand mixer", 399, 28, 60, "Kitchen Corner", "Baker's Pro 5", -1 },
    { 1, Appliances, "Espresso machine", 649, 9, 24, "Kitchen Corner", "Caffè Rosso CR2", -1 },
    { 1, Kitchenware, "Cast iron skillet set", 140, 90, 0, "Kitchen Corner", nullptr, -1 },
    { 1, Kitchenware, "Copper cookware set", 890, 58, 0, "Kitchen Corner", "Ridgeway 10-piece",
      -1 },
    { 1, Kitchenware, "Chef's knife set", 310, 40, 0, "Kitchen Corner", "Hatori 7-piece", -1 },
    { 1, Appliances, "Toaster", 59, 22, 12, "Main Street Hardware", nullptr, -1 },
    { 1, Kitchenware, "Stoneware dinner service for 8", 260, 72, 0, "Linen Loft", nullptr, -1 },
    { 1, Appliances, "Blender", 129, 14, 36, "Kitchen Corner", "Vortex 600", -1 },
    // dining room
    { 2, Furniture, "Dining table, cherry", 2400, 100, 0, "Hartley & Sons", "Shaker extension",
      -1 },
    { 2, Furniture, "Dining chairs (8)", 1760, 100, 0, "Hartley & Sons", nullptr, -1 },
    { 2, Furniture, "China cabinet", 1350, 100, 0, "Hartley & Sons", nullptr, -1 },
    { 2, Collectibles, "Sterling silver flatware", 2900, 240, 0, "Inherited", "Chantilly", -1 },
    { 2, Lighting, "Crystal chandelier", 980, 80, 0, "Bright Ideas Lighting", nullptr, -1 },
    { 2, Kitchenware, "Crystal wine glasses (12)", 360, 90, 0, "Linen Loft", nullptr, -1 },
    { 2, Art, "Watercolour of the orchard", 650, 46, 0, "Quayside Gallery", "J. Lind", -1 },
    // master bedroom
    { 3, Furniture, "Queen bed frame", 1100, 64, 0, "Main Street Furniture", nullptr, -1 },
    { 3, Furniture, "Mattress, queen", 1450, 20, 120, "SleepWell", "Cloudrest Firm", -1 },
    { 3, Furniture, "Dresser, six drawers", 890, 64, 0, "Main Street Furniture", nullptr, -1 },
    { 3, Jewelry, "Engagement ring", 5200, 160, 0, "Baxter Jewellers", "1 ct solitaire", -1 },
    { 3, Jewelry, "Pearl necklace", 1800, 120, 0, "Baxter Jewellers", nullptr, -1 },
    { 3, Jewelry, "Grandfather's pocket watch", 1200, 300, 0, "Inherited", "Elgin, 1921", -1 },
    { 3, Jewelry, "Gold hoop earrings", 640, 70, 0, "Baxter Jewellers", nullptr, -1 },
    { 3, Jewelry, "Men's wristwatch", 950, 36, 24, "Baxter Jewellers", "Tavern Automatic", -1 },
    { 3, Clothing, "Winter coat, wool", 420, 30, 0, "Northwind Outfitters", nullptr, -1 },
    { 3, Clothing, "Leather jacket", 380, 54, 0, "Northwind Outfitters", nullptr, -1 },
    { 3, Lighting, "Bedside lamps (2)", 160, 64, 0, "Bright Ideas Lighting", nullptr, -1 },
    { 3, Rugs, "Runner rug", 230, 40, 0, "Carpet Loom", nullptr, -1 },
    { 3, Electronics, "Clock radio", 45, 80, 12, "City Electronics", nullptr, -1 },
    // kids' room
    { 4, Furniture, "Bunk bed", 640, 34, 0, "Main Street Furniture", nullptr, -1 },
    { 4, Toys, "Wooden train set", 180, 50, 0, "Toy Chest", nullptr, -1 },
    { 4, Toys, "Building bricks (big tub)", 240, 30, 0, "Toy Chest", nullptr, -1 },
    { 4, Toys, "Doll house", 310, 44, 0, "Toy Chest", nullptr, -1 },
    { 4, Toys, "Board games (12)", 260, 36, 0, "Toy Chest", nullptr, -1 },
    { 4, Electronics, "Handheld game console", 299, 16, 12, "City Electronics", "Pocketplay 2",
      -1 },
    { 4, Books, "Picture books (about 80)", 600, 80, 0, "Corner Bookshop", nullptr, -1 },
    { 4, Sports, "Kids' bicycle", 229, 18, 12, "Spoke & Chain", "Rocket 20", -1 },
    { 4, Lighting, "Night light", 25, 60, 0, "Main Street Hardware", nullptr, -1 },
    { 4, Instruments, "Child's violin, 1/2 size", 260, 14, 0, "Keys & Strings", nullptr, -1 },
    // study
    { 5, Computers, "Desktop computer", 1499, 28, 36, "Byte Shop", "Corvex Tower 7", -1 },
    { 5, Computers, "27-inch monitor", 349, 28, 36, "Byte Shop", "Clarity 27Q", -1 },
    { 5, Computers, "Laptop", 1199, 10, 24, "Byte Shop", "Airline 14", -1 },
    { 5, Computers, "Laser printer", 259, 48, 12, "Byte Shop", "Inkless LP-2", -1 },
    { 5, Computers, "Network storage, 4 TB", 420, 34, 24, "Byte Shop", "Vaultbox 2", -1 },
    { 5, Computers, "Wireless router", 149, 22, 12, "Byte Shop", "Meshpoint AX", -1 },
    { 5, Furniture, "Writing desk, oak", 720, 110, 0, "Antique Barn", nullptr, -1 },
    { 5, Furniture, "Office chair", 480, 30, 60, "Byte Shop", "Posture Plus", -1 },
    { 5, Books, "Reference books", 420, 140, 0, "Corner Bookshop", nullptr, -1 },
    { 5, Electronics, "Document scanner", 289, 40, 12, "Byte Shop", "Sheetfeed S5", -1 },
    { 5, Collectibles, "Stamp collection, 3 albums", 1500, 260, 0, "Inherited", nullptr, -1 },
    { 5, Electronics, "Camera with two lenses", 1350, 54, 24, "City Electronics", "Kestrel M10",
      -1 },
    { 5, Instruments, "Acoustic guitar", 690, 76, 0, "Keys & Strings", "Harlan D-28", -1 },
    // garage
    { 6, Tools, "Cordless drill set", 249, 30, 36, "Main Street Hardware", "Torqmax 20V", -1 },
    { 6, Tools, "Circular saw", 179, 46, 36, "Main Street Hardware", "Torqmax CS-7", -1 },
    { 6, Tools, "Mechanic's tool chest", 890, 70, 0, "Main Street Hardware", "Ironside 11-drawer",
      -1 },
    { 6, Tools, "Air compressor", 329, 40, 24, "Main Street Hardware", "Torqmax AC-6", -1 },
    { 6, Tools, "Extension ladder, 24 ft", 299, 64, 0, "Main Street Hardware", nullptr, -1 },
    { 6, Tools, "Workbench", 340, 90, 0, "Main Street Hardware", nullptr, -1 },
    { 6, LawnGarden, "Lawn mower", 429, 26, 24, "Garden Depot", "Greenline 21 SP", -1 },
    { 6, LawnGarden, "Leaf blower", 169, 24, 24, "Garden Depot", "Greenline LB-40", -1 },
    { 6, LawnGarden, "Hedge trimmer", 129, 32, 24, "Garden Depot", nullptr, -1 },
    { 6, LawnGarden, "Snow blower", 1149, 14, 36, "Garden Depot", "Northwind 24", -1 },
    { 6, Sports, "Road bicycle", 1650, 22, 24, "Spoke & Chain", "Veloce R2",
      SamplePictures::Bicycle },
    { 6, Sports, "Mountain bicycle", 980, 60, 24, "Spoke & Chain", "Ridgeback T7", -1 },
    { 6, Sports, "Golf clubs and bag", 1100, 84, 0, "Fairway Pro Shop", nullptr, -1 },
    { 6, Sports, "Camping tent, 4-person", 320, 40, 0, "Northwind Outfitters", nullptr, -1 },
    { 6, Sports, "Kayak roof rack", 260, 36, 0, "Northwind Outfitters", nullptr, -1 },
    { 6, Tools, "Pressure washer", 279, 18, 24, "Main Street Hardware", "Torqmax PW-2000", -1 },
    // basement
    { 7, Appliances, "Washing machine", 899, 34, 36, "Appliance Depot", "Clearwash W-9", -1 },
    { 7, Appliances, "Clothes dryer", 799, 34, 36, "Appliance Depot", "Clearwash D-9", -1 },
    { 7, Appliances, "Chest freezer", 549, 72, 24, "Appliance Depot", "Polar CF-15", -1 },
    { 7, Appliances, "Dehumidifier", 249, 20, 24, "Appliance Depot", "Dryair 50", -1 },
    { 7, Appliances, "Water heater", 1190, 46, 72, "Main Street Hardware", "Thermaflow 50G", -1 },
    { 7, Appliances, "Furnace", 4300, 90, 120, "Warm Hearth Heating", "Thermaflow 96", -1 },
    { 7, Sports, "Treadmill", 1290, 52, 36, "Fairway Pro Shop", "Stride T5", -1 },
    { 7, Sports, "Ping-pong table", 499, 66, 0, "Fairway Pro Shop", nullptr, -1 },
    { 7, Toys, "Model railway layout", 900, 110, 0, "Toy Chest", "HO scale", -1 },
    { 7, Clothing, "Ski gear for four", 1600, 48, 0, "Northwind Outfitters", nullptr, -1 },
    { 7, Collectibles, "Vinyl record collection", 1300, 200, 0, "Various", "About 300 records",
      -1 },
    { 7, Tools, "Shop vacuum", 139, 40, 24, "Main Street Hardware", nullptr, -1 },
    // Lakeside Cabin: great room
    { 8, Furniture, "Log frame sofa", 1400, 40, 0, "Timberline Furnishings", nullptr, -1 },
    { 8, Furniture, "Rocking chairs (2)", 560, 40, 0, "Timberline Furnishings", nullptr, -1 },
    { 8, Appliances, "Wood stove", 2100, 60, 60, "Warm Hearth Heating", "Glowstone 2400", -1 },
    { 8, Electronics, "32-inch television", 249, 30, 12, "City Electronics", "Lumaview LV-32", -1 },
    { 8, Electronics, "DVD player", 59, 90, 12, "City Electronics", nullptr, -1 },
    { 8, Rugs, "Braided rug", 320, 40, 0, "Carpet Loom", nullptr, -1 },
    { 8, Art, "Loon carving", 450, 36, 0, "Lakeshore Crafts", "Cedar, hand-carved", -1 },
    { 8, Lighting, "Antler chandelier", 690, 40, 0, "Timberline Furnishings", nullptr, -1 },
    { 8, Books, "Paperbacks for rainy days", 150, 60, 0, "Corner Bookshop", nullptr, -1 },
    { 8, Toys, "Jigsaw puzzles (20)", 180, 48, 0, "Toy Chest", nullptr, -1 },
    { 8, Furniture, "Pine dining set", 980, 40, 0, "Timberline Furnishings", nullptr, -1 },
    { 8, Electronics, "Weather radio", 69, 24, 12, "City Electronics", nullptr, -1 },
    // cabin kitchen
    { 9, Appliances, "Refrigerator, compact", 689, 38, 24, "Appliance Depot", "Polar RF-18", -1 },
    { 9, Appliances, "Propane range", 899, 40, 36, "Appliance Depot", "Hearth GR-24", -1 },
    { 9, Appliances, "Coffee maker", 89, 12, 12, "Kitchen Corner", nullptr, -1 },
    { 9, Kitchenware, "Enamel camp dishes", 95, 40, 0, "Northwind Outfitters", nullptr, -1 },
    { 9, Kitchenware, "Dutch oven", 180, 40, 0, "Kitchen Corner", nullptr, -1 },
    { 9, Appliances, "Water filter system", 420, 30, 24, "Main Street Hardware", "Purewell 3", -1 },
    // bunk room
    { 10, Furniture, "Bunk beds (2 sets)", 980, 40, 0, "Timberline Furnishings", nullptr, -1 },
    { 10, Furniture, "Cedar chest", 390, 150, 0, "Inherited", nullptr, -1 },
    { 10, Clothing, "Quilts (4)", 600, 120, 0, "Lakeshore Crafts", nullptr, -1 },
    { 10, Toys, "Card and board games", 120, 40, 0, "Toy Chest", nullptr, -1 },
    { 10, Lighting, "Battery lanterns (4)", 90, 20, 12, "Northwind Outfitters", nullptr, -1 },
    // boathouse
    { 11, Sports, "Canoe, 16 ft", 1450, 70, 0, "Lakeshore Outfitters", "Kevlar tandem", -1 },
    { 11, Sports, "Kayaks (2)", 1300, 30, 0, "Lakeshore Outfitters", nullptr, -1 },
    { 11, Sports, "Paddleboard", 699, 18, 12, "Lakeshore Outfitters", nullptr, -1 },
    { 11, Sports, "Life jackets (6)", 330, 30, 0, "Lakeshore Outfitters", nullptr, -1 },
    { 11, Sports, "Fishing rods and tackle", 540, 80, 0, "Lakeshore Outfitters", nullptr, -1 },
    { 11, Tools, "Outboard motor, 9.9 hp", 2400, 42, 36, "Lakeshore Marine", "Tidewater 9.9", -1 },
    { 11, Tools, "Chainsaw", 389, 28, 24, "Main Street Hardware", "Torqmax CS-18", -1 },
    { 11, LawnGarden, "String trimmer", 159, 26, 24, "Garden Depot", nullptr, -1 },
    { 11, Tools, "Generator, 3500 W", 899, 20, 36, "Main Street Hardware", "Voltmate 3500", -1 },
};

// A few things come with a story.
const struct
{
    const char *name;
    const char *notes;
} kItemNotes[] = {
    { "Upright piano",
      "Tuned every October by Ellis Marsh (555-0125). Moved in by Keys & Strings; "
      "they asked to be called again before any move." },
    { "Oil painting of the harbour",
      "Appraised by Quayside Gallery three years ago at 3,400. "
      "Certificate in the study's top drawer." },
    { "Engagement ring", "Listed on the jewellery rider of the home insurance." },
    { "Road bicycle", "Frame size 56. Spare tubes on the garage shelf." },
    { "55-inch television", "Wall mount bought separately; receipt in the manuals folder." },
};

struct SampleVideo
{
    const char *title;
    const char *genre;
    int year;
};

// Invented titles, one video library shared between the two homes.
const SampleVideo kVideos[] = {
    { "The Lighthouse at Carrow Point", "Drama", 1998 },
    { "Seven Winters North", "Action/Adventure", 2004 },
    { "A Kettle for Two", "Comedy", 2011 },
    { "Starfall Over Meridian", "Sci Fi/Fantasy", 2016 },
    { "The Orchard Letters", "Romance", 1995 },
    { "Midnight on Quill Street", "Suspense", 2007 },
    { "Captain Pemberton's Parrot", "Family", 2001 },
    { "The Snow Fox", "Children's/Disney", 2013 },
    { "Dust and Silver Spurs", "Western", 1968 },
    { "The Long Harbour", "Classic", 1952 },
    { "Tap Shoes in the Rain", "Musical", 1957 },
    { "Borrowed Rooms", "Independent", 2019 },
    { "How Rivers Shape the Land", "Educational", 2015 },
    { "Return of the Radish People", "Cult", 1979 },
    { "The Pinstripe Ledger", "Gangster", 1987 },
    { "Crown of the Marsh King", "Historical", 2009 },
    { "The House on Gallow Lane", "Horror", 1999 },
    { "Fists of the Paper Tiger", "Martial Arts", 1983 },
    { "Agent Juniper", "Spy", 2012 },
    { "Weekend at the Lake", "General", 2003 },
    { "The Clockmaker's Apprentice", "Family", 2010 },
    { "Orbit of the Lost Moon", "Sci Fi/Fantasy", 2021 },
    { "Second Helpings", "Comedy", 2018 },
    { "The Quiet Mile", "Drama", 2014 },
    { "Paper Lanterns", "Romance", 2006 },
    { "Cold Trail", "Suspense", 2017 },
    { "The Great Balloon Race", "Action/Adventure", 1991 },
    { "Puddle Jumpers", "Children's/Disney", 2020 },
    { "Last Stage to Redwater", "Western", 1974 },
    { "Violets in Vienna", "Classic", 1949 },
    { "Carnival of Stars", "Musical", 1962 },
    { "Six Chairs", "Independent", 2008 },
    { "The Secret Life of Bees and Hives", "Educational", 2019 },
    { "Attack of the Lawn Gnomes", "Cult", 1985 },
    { "Harbour City Heat", "Gangster", 1996 },
    { "The Iron Bridge", "Historical", 2002 },
    { "Whispers in the Cellar", "Horror", 2010 },
    { "Way of the Crane", "Martial Arts", 1990 },
    { "Codename: Heron", "Spy", 2005 },
    { "Summer of the Comet", "Drama", 2022 },
};

// Maintenance plans, their dates counted from today: some overdue, some due within the week,
// most with a history.
struct SamplePlanEntry
{
    int daysAgo; // 0: no entry
    double cost;
    const char *notes;
    bool skipped;
};

struct SamplePlan
{
    int home; // 0 or 1
    const char *asset; // the asset's name, or nullptr
    int area; // index into kAreas, or -1
    const char *description;
    int every, unit; // unit: 1 days, 2 weeks, 3 months, 4 years
    bool fromCompletion;
    int dueInDays; // negative: overdue
    const char *notes;
    SamplePlanEntry history[2];
};

const SamplePlan kPlans[] = {
    { 0,
      "Furnace",
      -1,
      "Replace furnace filter",
      3,
      3,
      true,
      -12,
      "MERV 8, 16x25x1. Spares on the shelf above the furnace.",
      { { 102, 24.99, "MERV 8", false }, { 195, 22.50, nullptr, false } } },
    { 0,
      nullptr,
      -1,
      "Test smoke alarms and change batteries",
      1,
      4,
      false,
      3,
      "Nine alarms: one in each bedroom, the hall, the kitchen and the basement.",
      { { 362, 31.00, "9-volt batteries, 10-pack", false } } },
    { 0,
      nullptr,
      -1,
      "Clean gutters",
      1,
      4,
      false,
      75,
      nullptr,
      { { 290, 180.00, "Gutter Pros", false } } },
    { 0,
      nullptr,
      0,
      "Sweep the chimney",
      1,
      4,
      false,
      -20,
      "Soot & Sons, 555-0177.",
      { { 385, 165.00, "Soot & Sons", false } } },
    { 0,
      "Water heater",
      -1,
      "Flush the water heater",
      1,
      4,
      true,
      120,
      nullptr,
      { { 245, 0, nullptr, false } } },
    { 0,
      "Clothes dryer",
      -1,
      "Clean the dryer vent",
      6,
      3,
      true,
      5,
      nullptr,
      { { 178, 0, nullptr, false } } },
    { 0,
      "Refrigerator",
      -1,
      "Vacuum the refrigerator coils",
      6,
      3,
      true,
      60,
      nullptr,
      { { 120, 0, nullptr, false } } },
    { 0,
      "Lawn mower",
      -1,
      "Service the lawn mower",
      1,
      4,
      false,
      140,
      nullptr,
      { { 225, 65.00, "Blade sharpened, oil changed", false } } },
    { 0,
      nullptr,
      7,
      "Test the sump pump",
      3,
      3,
      false,
      40,
      "Pour a bucket into the pit.",
      { { 50, 0, "Away that week", true }, { 140, 0, "Pumped out in 40 s", false } } },
    { 1,
      nullptr,
      -1,
      "Winterize the water lines",
      1,
      4,
      false,
      200,
      "Shut the main, open every tap, blow out the lines.",
      { { 165, 95.00, "Lakeside Plumbing", false } } },
    { 1,
      "Outboard motor, 9.9 hp",
      -1,
      "Service the outboard motor",
      1,
      4,
      false,
      -3,
      nullptr,
      { { 368, 140.00, "Impeller replaced", false } } },
    { 1,
      "Water filter system",
      -1,
      "Replace the water filter cartridge",
      6,
      3,
      true,
      25,
      nullptr,
      {} },
};

struct SampleTask
{
    const char *description;
    int status; // 0 in the pool, 1 picked, 2 done
    int category; // general tasks: a task category
    double cost;
    const char *contact;
    const char *phone;
};

const SampleTask kTasks[] = {
    { "Clean the gutters", 1, Maintenance, 0, nullptr, nullptr },
    { "Service the furnace", 1, Maintenance, 129, "Warm Hearth Heating", "555-0142" },
    { "Replace smoke detector batteries", 2, Maintenance, 18, nullptr, nullptr },
    { "Pay the property tax", 1, Bills, 2150, "Town Clerk", "555-0100" },
    { "Renew the home insurance", 2, Bills, 940, "Harbor Mutual", "555-0177" },
    { "Fix the dripping kitchen tap", 1, Repairs, 25, nullptr, nullptr },
    { "Patch the boathouse roof", 0, Repairs, 300, "Lakeshore Marine", "555-0163" },
    { "Mow the lawn", 2, YardWork, 0, nullptr, nullptr },
    { "Rake the leaves", 0, YardWork, 0, nullptr, nullptr },
    { "Put the dock in for the summer", 0, YardWork, 0, nullptr, nullptr },
    { "Wash the windows", 1, Cleaning, 0, nullptr, nullptr },
    { "Deep-clean the oven", 0, Cleaning, 0, nullptr, nullptr },
    { "Take the old paint to the recycling depot", 2, Errands, 0, nullptr, nullptr },
    { "Pick up the dry cleaning", 1, Errands, 22, "Sunny Cleaners", "555-0119" },
    { "Drain the cabin's water pipes before winter", 0, Maintenance, 0, nullptr, nullptr },
    { "Test the sump pump", 2, Maintenance, 0, nullptr, nullptr },
};

struct SampleShopping
{
    const char *item;
    int status;
    double quantity;
    const char *unit;
    double price;
    const char *store;
    const char *aisle;
    int coupon;
};

const SampleShopping kShopping[] = {
    { "Milk", 1, 2, "gal", 3.49, "Corner Market", "Dairy", 0 },
    { "Bread", 1, 1, "loaf", 2.99, "Corner Market", "Bakery", 0 },
    { "Coffee beans", 1, 2, "lb", 11.50, "Corner Market", "5", 1 },
    { "Light bulbs", 2, 4, nullptr, 2.25, "Main Street Hardware", "Electrical", 0 },
    { "Furnace filter", 1, 2, nullptr, 12.99, "Main Street Hardware", "Heating", 1 },
    { "Dish soap", 2, 1, "bottle", 3.79, "Corner Market", "9", 0 },
    { "Bird seed", 0, 1, "bag", 14.00, "Garden Depot", "Outdoor", 0 },
    { "Propane for the cabin grill", 1, 1, "tank", 22.00, "Lakeshore Marine", nullptr, 0 },
    { "Vitamins", 0, 1, "bottle", 9.49, "Pharmacy Plus", "Health", 1 },
    { "Apples", 2, 3, "lb", 1.89, "Corner Market", "Produce", 0 },
    { "Duct tape", 0, 1, "roll", 5.99, "Main Street Hardware", "7", 0 },
    { "Sunscreen", 1, 2, "tube", 8.99, "Pharmacy Plus", "Summer", 0 },
    { "Paper towels", 2, 6, "roll", 1.25, "Corner Market", "12", 1 },
    { "Grass seed", 0, 1, "bag", 24.99, "Garden Depot", "Lawn", 0 },
};

double days(const QDate &date)
{
    return COleDateTime::fromDate(date).days();
}

// A made-up serial number that stays the same from one run to the next.
QString serialFor(int index, const char *makeModel)
{
    quint32 hash = 2166136261u;
    for (const char *c = makeModel; *c; ++c)
        hash = (hash ^ quint8(*c)) * 16777619u;
    hash ^= quint32(index) * 2654435761u;
    return QStringLiteral("%1-%2")
        .arg(QString::fromLatin1(makeModel).left(2).toUpper())
        .arg(hash % 100000000u, 8, 10, QLatin1Char('0'));
}

// What a thing of this kind is worth after some months, as an insurer would put it.
double worthAfter(double price, int category, int months)
{
    switch (category) {
    case Art:
    case Jewelry:
    case Collectibles:
        return price * (1.0 + 0.004 * months); // they gain value
    case Computers:
    case Electronics:
        return price * std::max(0.1, 1.0 - 0.02 * months);
    case Instruments:
    case Furniture:
    case Rugs:
        return price * std::max(0.5, 1.0 - 0.004 * months);
    default:
        return price * std::max(0.25, 1.0 - 0.008 * months);
    }
}

} // namespace

bool write(const QString &path, const QDate &today, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QString folder = QFileInfo(path).absolutePath() + QStringLiteral("/pictures/");
    const char *const pictureNames[] = { "maple-street.jpg", "lakeside-cabin.jpg",
                                         "piano.jpg",        "painting.jpg",
                                         "bicycle.jpg",      "television.jpg",
                                         "armchair.jpg",     "lamp.jpg" };
    for (const char *name : pictureNames) {
        if (QFileInfo::exists(folder + QLatin1String(name)))
            return fail(QStringLiteral("%1%2 exists already").arg(folder, QLatin1String(name)));
    }

    HouseholdWriter writer;
    if (!writer.open(path, error))
        return false;
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));
    QStringList written;
    auto picture = [&](int which) -> QString {
        const QString file = folder + QLatin1String(pictureNames[which]);
        QImageWriter out(file, "jpeg");
        out.setQuality(80);
        if (!out.write(SamplePictures::draw(SamplePictures::Picture(which))))
            return QString();
        written << file;
        return file;
    };
    auto removePictures = [&] {
        for (const QString &file : written)
            QFile::remove(file);
    };

    HouseholdWriter::Home maple;
    maple.description = QStringLiteral("Maple Street House");
    maple.address = QStringLiteral("14 Maple Street\nBrookfield, VT 05036");
    maple.currentValue = 412000;
    maple.picture = picture(SamplePictures::MapleStreet);
    maple.notes = QStringLiteral("Bought in %1. New roof and gutters in %2.")
                      .arg(today.year() - 9)
                      .arg(today.year() - 3);
    HouseholdWriter::Home cabin;
    cabin.description = QStringLiteral("Lakeside Cabin");
    cabin.address = QStringLiteral("7 Heron Cove Road\nPine Lake, ME 04963");
    cabin.currentValue = 236000;
    cabin.picture = picture(SamplePictures::LakesideCabin);
    cabin.notes = QStringLiteral("Water is off from November to April.");
    const qint32 homeIds[2] = { writer.add(maple), writer.add(cabin) };

    qint32 areaIds[std::size(kAreas)] = {};
    for (size_t i = 0; i < std::size(kAreas); ++i) {
        const SampleArea &planned = kAreas[i];
        HouseholdWriter::Area area;
        area.homeId = homeIds[planned.home];
        area.description = QString::fromUtf8(planned.name);
        area.length = planned.lengthFeet * 12;
        area.width = planned.widthFeet * 12;
        area.height = planned.home == 0 ? 96 : 108;
        for (int c = 0; c < 3; ++c) {
            area.colors[c] = planned.colors[c];
            area.labels[c] = QString::fromUtf8(planned.labels[c]);
        }
        area.notes = QString::fromUtf8(planned.notes);
        areaIds[i] = writer.add(area);
    }

    std::map<QString, qint32> assetIds; // by name, for the plans
    int index = 0;
    for (const SampleItem &planned : kItems) {
        ++index;
        HouseholdWriter::Asset asset;
        asset.homeId = homeIds[kAreas[planned.area].home];
        asset.areaId = areaIds[planned.area];
        asset.categoryId = planned.category;
        asset.description = QString::fromUtf8(planned.name);
        const QDate bought = today.addMonths(-planned.ageMonths).addDays(-(index * 7 % 27));
        asset.purchasePrice = planned.price;
        asset.purchaseDate = days(bought);
        asset.currentValue =
            std::round(worthAfter(planned.price, planned.category, planned.ageMonths));
        asset.replacementValue = std::round(planned.price * 1.18);
        asset.vendor = QString::fromUtf8(planned.vendor);
        if (planned.makeModel) {
            asset.makeModel = QString::fromUtf8(planned.makeModel);
            if (planned.warrantyMonths)
                asset.serialNumber = serialFor(index, planned.makeModel);
        }
        if (planned.warrantyMonths)
            asset.warrantyExpiration = days(bought.addMonths(planned.warrantyMonths));
        if (planned.picture >= 0)
            asset.picture = picture(planned.picture);
        for (const auto &note : kItemNotes) {
            if (qstrcmp(note.name, planned.name) == 0)
                asset.notes = QString::fromUtf8(note.notes);
        }
        assetIds[asset.description] = writer.add(asset);
    }
    for (size_t i = 0; i < std::size(kVideos); ++i) {
        const SampleVideo &planned = kVideos[i];
        HouseholdWriter::Asset video;
        const bool atCabin = i % 4 == 3;
        video.homeId = homeIds[atCabin ? 1 : 0];
        video.areaId = areaIds[atCabin ? 8 : 0];
        video.categoryId = Videos;
        video.description = QString::fromUtf8(planned.title);
        video.makeModel = QString::fromUtf8(planned.genre);
        // A title's release year lives in the warranty date, as 1 January of that year.
        video.warrantyExpiration = days(QDate(planned.year, 1, 1));
        video.purchasePrice = 9.99 + (i % 4) * 5;
        video.currentValue = 4;
        video.replacementValue = video.purchasePrice;
        video.purchaseDate = days(today.addMonths(-int(6 + i * 3)));
        video.vendor = i % 3 ? QStringLiteral("Video Barn") : QStringLiteral("Online store");
        writer.add(video);
    }

    const struct
    {
        int home;
        const char *description;
        double principal, rate;
        int months, yearsAgo;
        const char *lender, *account, *phone;
    } loans[] = {
        { 0, "Mortgage", 310000, 4.25, 360, 9, "First National Bank", "MTG-4471902", "555-0130" },
        { 0, "Home equity line", 35000, 6.9, 120, 3, "Brookfield Credit Union", "HEL-20817",
          "555-0188" },
        { 1, "Cabin mortgage", 168000, 5.125, 240, 6, "Pine Lake Savings", "33-0961-2",
          "555-0151" },
        { 1, "Dock and boathouse loan", 18500, 7.25, 60, 2, "Pine Lake Savings", "33-1184-7",
          "555-0151" },
    };
    for (const auto &planned : loans) {
        HouseholdWriter::Loan loan;
        loan.homeId = homeIds[planned.home];
        loan.description = QString::fromUtf8(planned.description);
        loan.principal = planned.principal;
        loan.interestRate = planned.rate;
        loan.termInMonths = planned.months;
        loan.startDate = days(QDate(today.year() - planned.yearsAgo, 5, 1));
        loan.lenderName = QString::fromUtf8(planned.lender);
        loan.lenderAccount = QString::fromUtf8(planned.account);
        loan.lenderPhone = QString::fromUtf8(planned.phone);
        writer.add(loan);
    }

    for (const SampleTask &planned : kTasks) {
        HouseholdWriter::Task task;
        task.description = QString::fromUtf8(planned.description);
        task.taskType = 1;
        task.status = planned.status;
        task.cost = planned.cost;
        task.vendor = QString::fromUtf8(planned.contact);
        task.custom2 = planned.category;
        task.custom3 = QString::fromUtf8(planned.phone);
        writer.add(task);
    }
    for (const SampleShopping &planned : kShopping) {
        HouseholdWriter::Task item;
        item.description = QString::fromUtf8(planned.item);
        item.taskType = 2;
        item.status = planned.status;
        item.custom1 = planned.quantity;
        item.notes = QString::fromUtf8(planned.unit);
        item.cost = planned.price;
        item.vendor = QString::fromUtf8(planned.store);
        item.custom3 = QString::fromUtf8(planned.aisle);
        item.custom2 = planned.coupon;
        writer.add(item);
    }

    for (const SamplePlan &planned : kPlans) {
        HouseholdWriter::Plan plan;
        plan.homeId = homeIds[planned.home];
        if (planned.asset)
            plan.assetId = assetIds[QString::fromUtf8(planned.asset)];
        if (planned.area >= 0)
            plan.areaId = areaIds[planned.area];
        plan.description = QString::fromUtf8(planned.description);
        plan.every = planned.every;
        plan.unit = planned.unit;
        plan.fromCompletion = planned.fromCompletion;
        plan.nextDue = days(today.addDays(planned.dueInDays));
        plan.categoryId = Maintenance;
        plan.notes = QString::fromUtf8(planned.notes);
        const qint32 planId = writer.add(plan);
        for (const SamplePlanEntry &done : planned.history) {
            if (done.daysAgo == 0)
                continue;
            HouseholdWriter::PlanEntry entry;
            entry.planId = planId;
            entry.done = days(today.addDays(-done.daysAgo));
            entry.previousDue = entry.done;
            entry.skipped = done.skipped;
            entry.cost = done.cost;
            entry.notes = QString::fromUtf8(done.notes);
            writer.add(entry);
        }
    }

    if (written.size() != int(std::size(pictureNames))) {
        removePictures();
        return fail(QStringLiteral("cannot write the pictures in %1").arg(folder));
    }
    if (!writer.finish(error)) {
        removePictures();
        return false;
    }
    return true;
}

} // namespace SampleHousehold
