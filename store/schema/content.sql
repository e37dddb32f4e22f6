-- The content the wedding database is delivered with.

-- The wedding itself: names still empty, which the main window reads as a first run.
INSERT INTO General (bridesname, groomsname) VALUES ('', '');

-- Tips, numbered by their order here. The windows show some of them by number:
--   1 the guest window opened on an empty guest list
--   2 the gift amount boxes
--   3 the checklist opened before a wedding date is entered
--   5 the first start of the program
INSERT INTO Tips (tip) VALUES
    ('Your guest list is empty. Click "Add Guest" to enter the first guest party: a person, a couple or a family invited under one name. Fill in the address, then use the Details tab to mark the events the party is invited to.'),
    ('Enter a gift of money as a whole dollar amount, using digits only (a $ sign is allowed). For any other gift, type a short description in the Gift Description box instead. The Summary tab adds up the amounts of each occasion.'),
    ('Your checklist has no due dates yet because no wedding date has been entered. Open General Information on the main window and enter the ceremony date: every standard task then gets its due date, counted back from the wedding day.'),
    ('Use the Mail Labels tab of the guest list to decide how each party''s name appears on the envelope, for example "Mr. and Mrs. John Smith". Reports then prints the labels on the label sheets you buy.'),
    ('Welcome! Start with General Information: enter the bride''s and groom''s names and the date, time and place of the shower, the ceremony and the reception. The checklist then schedules every task from your wedding date.'),
    ('Seat guests in the Reception Seating Manager: add your tables with the number of seats at each, then pick a guest party and click "Add Guest". The manager never lets a table hold more people than it has seats.'),
    ('Tick "Show Sample Items" in the Expense Tracker to see a list of typical wedding expenses. Click one to add it to your budget, then fill in the cost, the quantity and what you have paid so far.'),
    ('Keep every supplier in the Vendor List: address, contact person, telephone and notes. The Service Type box groups them as florists, photographers, musicians and so on.'),
    ('Record each reply as it arrives on the Details tab of the guest list. The Summary tab then shows how many people are coming to the shower and the reception.'),
    ('Tick "Thank-you card sent" on the Gifts tab as you mail each card, so you always know which gifts are still to be thanked for.'),
    ('From time to time use Compact Database on the Database menu: it keeps the wedding file small and quick.');

-- The standard tasks. checktime is the lead time before the wedding:
--   1 six months, 2 four months, 3 two months, 4 one month, 5 two weeks,
--   6 one week, 7 two days, 8 one day, 9 the wedding day itself.
INSERT INTO Checklist (CheckItem, checktime) VALUES
    ('Set a budget and decide who contributes to it', 1),
    ('Choose the wedding date and time', 1),
    ('Decide on the style and size of the wedding', 1),
    ('Draw up a first guest list', 1),
    ('Reserve the ceremony site and the officiant', 1),
    ('Reserve the reception site', 1),
    ('Choose the maid of honour, best man and attendants', 1),
    ('Book the photographer and videographer', 1),
    ('Book the caterer', 1),
    ('Book the band or DJ', 1),
    ('Shop for and order the wedding dress', 1),
    ('Book the florist', 2),
    ('Order the invitations and announcements', 2),
    ('Register for gifts', 2),
    ('Choose and order the bridesmaids'' dresses', 2),
    ('Plan the honeymoon and check passports', 2),
    ('Order the wedding cake', 2),
    ('Reserve rooms for out-of-town guests', 2),
    ('Arrange transportation for the wedding day', 2),
    ('Finalise the guest list and collect addresses', 3),
    ('Mail the invitations', 3),
    ('Buy the wedding rings', 3),
    ('Reserve the formal wear for the groom and ushers', 3),
    ('Plan the rehearsal dinner', 3),
    ('Choose the ceremony readings and music', 3),
    ('Buy gifts for the attendants', 3),
    ('Apply for the marriage licence', 4),
    ('Have the final dress fitting', 4),
    ('Book hair and make-up appointments', 4),
    ('Confirm the menu with the caterer', 4),
    ('Write the wedding vows', 4),
    ('Buy the guest book and the wedding favours', 4),
    ('Give the final guest count to the caterer', 5),
    ('Make the seating plan for the reception', 5),
    ('Confirm the times with every vendor', 5),
    ('Give the photographer a list of must-have shots', 5),
    ('Break in the wedding shoes', 5),
    ('Pick up the wedding rings', 6),
    ('Confirm the honeymoon reservations', 6),
    ('Pack for the honeymoon', 6),
    ('Prepare the final payments and tips for the vendors', 6),
    ('Give the wedding-day schedule to the attendants', 6),
    ('Pick up the formal wear', 7),
    ('Deliver the favours and place cards to the reception site', 7),
    ('Hold the rehearsal and the rehearsal dinner', 8),
    ('Give the rings and the licence to the best man', 8),
    ('Get a good night''s sleep', 8),
    ('Eat a good breakfast', 9),
    ('Have hair and make-up done', 9),
    ('Enjoy your wedding day!', 9);

-- Typical wedding expenses offered by the expense tracker.
INSERT INTO BudgetPlan (Description) VALUES
    ('Engagement ring'),
    ('Wedding rings'),
    ('Wedding dress'),
    ('Veil and headpiece'),
    ('Alterations'),
    ('Bridal shoes and accessories'),
    ('Groom''s formal wear'),
    ('Hair and make-up'),
    ('Ceremony site fee'),
    ('Officiant fee'),
    ('Marriage licence'),
    ('Ceremony music'),
    ('Reception hall rental'),
    ('Catering per guest'),
    ('Bar and beverages'),
    ('Wedding cake'),
    ('Band or DJ'),
    ('Bride''s bouquet'),
    ('Bridesmaids'' bouquets'),
    ('Boutonnieres and corsages'),
    ('Ceremony flowers'),
    ('Reception centrepieces'),
    ('Photographer'),
    ('Videographer'),
    ('Wedding album'),
    ('Invitations'),
    ('Postage'),
    ('Thank-you cards'),
    ('Limousine'),
    ('Guest book'),
    ('Wedding favours'),
    ('Attendants'' gifts'),
    ('Rehearsal dinner'),
    ('Hotel rooms'),
    ('Honeymoon'),
    ('Gratuities');

-- States of the United States, the District of Columbia, and the provinces and
-- territories of Canada, as postal abbreviations.
INSERT INTO StateList (State) VALUES
    ('AL'), ('AK'), ('AZ'), ('AR'), ('CA'), ('CO'), ('CT'), ('DE'), ('DC'), ('FL'),
    ('GA'), ('HI'), ('ID'), ('IL'), ('IN'), ('IA'), ('KS'), ('KY'), ('LA'), ('ME'),
    ('MD'), ('MA'), ('MI'), ('MN'), ('MS'), ('MO'), ('MT'), ('NE'), ('NV'), ('NH'),
    ('NJ'), ('NM'), ('NY'), ('NC'), ('ND'), ('OH'), ('OK'), ('OR'), ('PA'), ('RI'),
    ('SC'), ('SD'), ('TN'), ('TX'), ('UT'), ('VT'), ('VA'), ('WA'), ('WV'), ('WI'),
    ('WY'),
    ('AB'), ('BC'), ('MB'), ('NB'), ('NL'), ('NS'), ('NT'), ('NU'), ('ON'), ('PE'),
    ('QC'), ('SK'), ('YT');

INSERT INTO CityList (City) VALUES
    ('Atlanta'), ('Austin'), ('Baltimore'), ('Boston'), ('Calgary'), ('Charlotte'),
    ('Chicago'), ('Cincinnati'), ('Cleveland'), ('Dallas'), ('Denver'), ('Detroit'),
    ('Edmonton'), ('Halifax'), ('Houston'), ('Indianapolis'), ('Kansas City'),
    ('Las Vegas'), ('Los Angeles'), ('Miami'), ('Milwaukee'), ('Minneapolis'),
    ('Montreal'), ('Nashville'), ('New Orleans'), ('New York'), ('Ottawa'),
    ('Philadelphia'), ('Phoenix'), ('Pittsburgh'), ('Portland'), ('Quebec City'),
    ('Sacramento'), ('Saint Louis'), ('Salt Lake City'), ('San Antonio'), ('San Diego'),
    ('San Francisco'), ('Seattle'), ('Springfield'), ('Tampa'), ('Toronto'),
    ('Vancouver'), ('Washington'), ('Winnipeg');
