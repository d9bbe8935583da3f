// Shop: before each new stage every player with ships left spends the money
// collected from bonuses on shot power, ship speed, extra ships and weapons.
// The screen is the shop sheet itself, drawn on and presented directly.

#include "flow/flow.h"
#include "core/core.h"
#include "platform/platform.h"
#include "players/players.h"

namespace {

// The values and keys of the player being served.
struct Customer {
    int &lives, &money, &power, &speed, &weapon;
    int up, down, left, right, fire;
    const char *line;
    bool fire_held_at_open = false;  // fire was down when the shop opened
    int fire_releases_at_open = 0;   // SysKeyReleases(fire) then
};

// Cursor value -> cell position. 0 leaves the shop; 1..3 power, speed and an
// extra ship; 4..6 weapons 1..3.
const int cell_x[7] = {25, 70, 70, 70, 70, 115, 160};
const int cell_y[7] = {81, 52, 81, 110, 170, 170, 170};
const int weapon_price[4] = {0, 3000, 6000, 8000};

// Messages all 29 characters long, so each covers the one before.
const int NO_MESSAGE = 0, AT_MAXIMUM = 1, NO_MONEY = 2, HAVE_WEAPON = 3;
const char *const messages[4] = {"                             ", "This item its at maximus!    ",
                                 "Insufficent money!           ", "You have already this weapon!"};

int cursor;   // 0..6
int pending;  // message to show on the next pass, or NO_MESSAGE

void Text(int x, int y, const char *s) {
    textprintf_ex(bg, font, x, y, 14, text_bg, "%s", s);
}

// A blank box first, so a shorter number leaves nothing of the longer one.
void Number(int x, int y, const char *blank, int value) {
    Text(x, y, blank);
    textprintf_ex(bg, font, x, y, 14, text_bg, "%d", value);
}

// Level marks beside "POWER" and "SPEED": one more box per level above 1.
void Marks(int level_now, int y) {
    if (level_now >= 2) rectfill(bg, 281, y, 289, y + 9, 18);
    if (level_now >= 3) rectfill(bg, 293, y, 301, y + 9, 18);
}

void Draw(const Customer &c) {
    Text(0, 228, c.line);
    Number(273, 120, "   ", c.lives);
    Number(8, 120, "       ", c.money);
    draw_sprite(bg, shop[c.weapon], 250, 170);
    for (int i = 0; i < 7; i++) draw_sprite(bg, shop[0], cell_x[i], cell_y[i]);
    rect(bg, cell_x[cursor], cell_y[cursor], cell_x[cursor] + 26, cell_y[cursor] + 25, 18);
    Marks(c.power, 67);
    Marks(c.speed, 82);
    ToScreen(bg);
}

// Every held direction applies, in this order. Up never reaches the leave
// cell; left from the weapons row stops at weapon 1.
void MoveCursor(const Customer &c) {
    if (key[c.up]) {
        if (cursor <= 4) cursor -= 1;
        if (cursor == 0) cursor = 1;
    }
    if (key[c.down] && cursor >= 1 && cursor <= 3) cursor += 1;
    if (key[c.left]) {
        if (cursor <= 3) {
            cursor = 0;
        } else {
            cursor -= 1;
            if (cursor == 3) cursor = 4;
        }
    }
    if (key[c.right]) {
        if (cursor > 3) cursor += 1;
        if (cursor == 0) cursor = 2;
    }
    if (cursor < 0) cursor = 0;
    if (cursor > 6) cursor = 6;
}

void Pay(Customer &c, int price) {
    c.money -= price;
    SysPlaySample(pl_fx[4], 120, 150, 1000);
}

// Power and speed go up to 3; money is tested before the limit, so a player
// at the limit without the price hears of the money.
void BuyLevel(Customer &c, int &value, int price) {
    if (c.money < price) {
        pending = NO_MONEY;
    } else if (value <= 2) {
        value += 1;
        Pay(c, price);
    } else {
        pending = AT_MAXIMUM;
    }
}

// Owning the weapon decides the message, whatever the money.
void BuyWeapon(Customer &c, int w) {
    if (c.money >= weapon_price[w] && c.weapon != w) {
        c.weapon = w;
        Pay(c, weapon_price[w]);
    } else {
        pending = c.weapon == w ? HAVE_WEAPON : NO_MONEY;
    }
}

// Extra ships have no limit.
void BuyShip(Customer &c) {
    if (c.money >= 5000) {
        c.lives += 1;
        Pay(c, 5000);
    } else {
        pending = NO_MONEY;
    }
}

void Buy(Customer &c) {
    if (cursor == 1) BuyLevel(c, c.power, 5000);
    if (cursor == 2) BuyLevel(c, c.speed, 2000);
    if (cursor == 3) BuyShip(c);
    if (cursor >= 4) BuyWeapon(c, cursor - 3);
}

// Fire held since before the shop opened (players fire through the end of
// a wave) neither buys nor leaves: it counts once it has been let go.
bool Firing(const Customer &c) {
    return key[c.fire] && (!c.fire_held_at_open || SysKeyReleases(c.fire) != c.fire_releases_at_open);
}

// One pass per key press: the press itself only wakes the loop, the keys
// held at that moment decide. Keyboard auto-repeat on the fire key thus buys
// again and again while the money lasts.
void Visit(Customer &c) {
    c.fire_held_at_open = key[c.fire];
    c.fire_releases_at_open = SysKeyReleases(c.fire);
    cursor = 0;
    bool blank_pending = true;
    pending = NO_MESSAGE;
    LoadData(-1);
    ToScreen(bg);
    SysFadeIn(pal, 1);
    text_bg = 2;
    while (!(Firing(c) && cursor == 0)) {
        if (blank_pending) {
            Text(0, 236, messages[NO_MESSAGE]);
            blank_pending = false;
        }
        if (pending != NO_MESSAGE) {
            Text(0, 236, messages[pending]);
            SysPlaySample(pl_fx[3], 120, 150, 1000);
            pending = NO_MESSAGE;
        }
        Draw(c);
        SysClearKeybuf();
        SysReadKey();
        MoveCursor(c);
        if (Firing(c)) Buy(c);
    }
    CheckExtra();
    SysFadeOut(2);
}

}  // namespace

void Shop() {
    if (lives < 1) return;
    Customer c{lives,
               money,
               power,
               speed,
               weapon,
               KEY_UP,
               KEY_DOWN,
               KEY_LEFT,
               KEY_RIGHT,
               KEY_SPACE,
               "Player 1 please choose your items..."};
    Visit(c);
}

void Shop2() {
    if (lives2 < 1 || NPLAYERS != 2) return;
    Customer c{lives2,
               money2,
               power2,
               speed2,
               weapon2,
               KEY_W,
               KEY_S,
               KEY_A,
               KEY_D,
               KEY_G,
               "Player 2 please choose your items..."};
    Visit(c);
}
