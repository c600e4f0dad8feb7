// The menu bar: menus open on a click, Alt with the underlined letter, F10 or the arrows, and
// close on a choice, a click elsewhere, Escape or Tab. The bar is one tab stop whose arrows
// move along it; inside a menu the arrows, Home, End and the underlined letters move.
// A menu about to open tells its listeners with a "menuopen" event, to fill itself.
// Closed, the menus give the keyboard back to where it was, the grid as a rule.
let returnFocus = null;

const bar = () => document.getElementById('menubar');
const shown = (element) => !element.disabled && element.getClientRects().length > 0;
const barItems = () => [...bar().querySelectorAll(':scope > [role="menuitem"], :scope > .menu > [role="menuitem"]')];
const entriesOf = (items) => [...items.querySelectorAll(':scope > [role^="menuitem"], :scope > .menu > [role="menuitem"]')]
    .filter(shown);
const menuOf = (opener) => opener.parentElement.querySelector(':scope > .items');

// Where the keyboard goes back to: the element it came from while it is still there.
export function focusBack(element) {
    const target = element?.isConnected && shown(element) && element !== document.body ? element : document.getElementById('grid');
    target.focus();
}

function hideMenus(within) {
    for (const menu of within.querySelectorAll('.menu')) {
        menuOf(menu.firstElementChild).hidden = true;
        menu.firstElementChild.setAttribute('aria-expanded', 'false');
    }
}

export function closeMenus() {
    const inBar = bar().contains(document.activeElement);
    hideMenus(document);
    if (inBar) focusBack(returnFocus);
    returnFocus = null;
}

// The bar's one tab stop follows the keyboard.
function rove(item) {
    for (const other of barItems()) other.tabIndex = other === item ? 0 : -1;
    item.focus();
}

// A menu near the right edge of a narrow window opens leftwards, as far as it must.
function keepInView(items) {
    items.style.translate = '';
    const over = items.getBoundingClientRect().right - document.documentElement.clientWidth;
    if (over > 0) items.style.translate = `${-Math.min(over, items.getBoundingClientRect().left)}px`;
}

// Opens the menu under `opener`, with the keyboard on its first entry (or its last).
function openMenu(opener, last = false) {
    const items = menuOf(opener);
    hideMenus(opener.parentElement.parentElement.closest('.menu') ?? document);
    opener.parentElement.dispatchEvent(new Event('menuopen'));
    items.hidden = false;
    keepInView(items);
    opener.setAttribute('aria-expanded', 'true');
    const entries = entriesOf(items);
    (last ? entries.at(-1) : entries[0])?.focus();
}

const underlined = (item) => (item.querySelector('u')?.textContent ?? item.textContent.trim()[0] ?? '').toLowerCase();

function step(list, from, by) {
    return list[(list.indexOf(from) + by + list.length) % list.length];
}

// The next entry after `from` whose underlined letter is `letter`, if any.
function byLetter(list, from, letter) {
    const start = list.indexOf(from);
    return [...list.slice(start + 1), ...list.slice(0, start + 1)].find((item) => underlined(item) === letter);
}

function onBarKey(event, item) {
    const items = barItems().filter(shown);
    const moves = { ArrowRight: step(items, item, 1), ArrowLeft: step(items, item, -1), Home: items[0], End: items.at(-1) };
    const hasMenu = item.getAttribute('aria-haspopup') === 'menu';
    if (moves[event.key]) rove(moves[event.key]);
    else if (hasMenu && ['ArrowDown', 'Enter', ' '].includes(event.key)) openMenu(item);
    else if (hasMenu && event.key === 'ArrowUp') openMenu(item, true);
    else if (event.key === 'Escape') closeMenus();
    else return false;
    return true;
}

function onMenuKey(event, entry) {
    const items = entry.closest('.items');
    const entries = entriesOf(items);
    const opener = items.parentElement.firstElementChild;
    const sub = items.parentElement.parentElement.closest('.items'); // the menu holding this submenu
    const moves = { ArrowDown: step(entries, entry, 1), ArrowUp: step(entries, entry, -1), Home: entries[0], End: entries.at(-1) };
    if (moves[event.key]) {
        moves[event.key].focus();
    } else if (event.key === 'ArrowRight' && entry.getAttribute('aria-haspopup') === 'menu') {
        openMenu(entry);
    } else if (['ArrowLeft', 'Escape'].includes(event.key) && entry.getAttribute('aria-expanded') === 'true') {
        hideMenus(items); // the submenu beside this entry
    } else if (['ArrowLeft', 'Escape'].includes(event.key) && sub) {
        hideMenus(sub);
        opener.focus();
    } else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
        // Across the bar, opening the neighbour as this one was open.
        const top = (sub ?? items).parentElement.firstElementChild;
        const next = step(barItems().filter(shown), top, event.key === 'ArrowRight' ? 1 : -1);
        hideMenus(document);
        rove(next);
        if (next.getAttribute('aria-haspopup') === 'menu') openMenu(next);
    } else if (event.key === 'Escape') {
        closeMenus();
    } else if (event.key === 'Enter' || event.key === ' ') {
        if (entry.getAttribute('aria-haspopup') === 'menu') openMenu(entry);
        else entry.click(); // once: the key's own click is prevented below
    } else if (event.key.length === 1 && !event.ctrlKey && !event.metaKey) {
        byLetter(entries, entry, event.key.toLowerCase())?.focus();
    } else {
        return false;
    }
    return true;
}

// Alt with an underlined letter of the bar or of the command buttons, as on the desktop.
function onAltKey(event) {
    const letter = event.code.startsWith('Key') ? event.code.slice(3).toLowerCase() : event.key.toLowerCase();
    const targets = [...barItems(), ...document.querySelectorAll('#commands button')].filter(shown);
    const target = targets.find((item) => underlined(item) === letter);
    if (!target || !target.querySelector('u')) return false;
    if (!bar().contains(document.activeElement)) returnFocus = document.activeElement;
    if (target.getAttribute('aria-haspopup') === 'menu') {
        rove(target);
        openMenu(target);
    } else {
        hideMenus(document);
        focusBack(returnFocus);
        target.click();
    }
    return true;
}

export function wireMenus() {
    bar().addEventListener('pointerdown', () => {
        if (!bar().contains(document.activeElement)) returnFocus = document.activeElement;
    }, true);
    bar().addEventListener('focusin', (event) => {
        if (!bar().contains(event.relatedTarget)) returnFocus = event.relatedTarget;
    });
    for (const [i, item] of barItems().entries()) item.tabIndex = i ? -1 : 0;
    for (const items of document.querySelectorAll('.menu > .items')) items.setAttribute('aria-labelledby', items.previousElementSibling.id);
    for (const menu of document.querySelectorAll('.menu')) {
        const opener = menu.firstElementChild;
        opener.addEventListener('click', (event) => {
            event.stopPropagation();
            if (menuOf(opener).hidden) openMenu(opener);
            else hideMenus(menu.parentElement.closest('.menu') ?? document);
        });
    }
    // With a menu open, the mouse moving onto another title opens that one instead.
    for (const item of barItems()) {
        item.addEventListener('pointerenter', (event) => {
            const open = bar().querySelector(':scope > .menu > [aria-expanded="true"]');
            if (event.pointerType !== 'mouse' || !open || open === item) return;
            if (item.getAttribute('aria-haspopup') === 'menu') openMenu(item);
            else {
                hideMenus(document);
                rove(item);
            }
        });
    }
    // A menu filled after it opened (the patterns come from the server) takes the keyboard then.
    for (const items of document.querySelectorAll('.menu > .items')) {
        new MutationObserver(() => {
            const opener = items.previousElementSibling;
            if (!items.hidden && document.activeElement === opener) entriesOf(items)[0]?.focus();
        }).observe(items, { childList: true });
    }
    document.addEventListener('click', () => closeMenus());
    document.addEventListener('keydown', (event) => {
        const inBar = bar().contains(document.activeElement);
        const item = document.activeElement;
        if (document.querySelector('dialog:modal, .popup:not([hidden])')) return;
        let done;
        if (event.key === 'F10' && !event.shiftKey) {
            if (inBar) closeMenus();
            else rove(barItems().filter(shown).find((i) => i.tabIndex === 0) ?? barItems()[0]);
            done = true;
        } else if (event.altKey && !event.ctrlKey && !event.metaKey) {
            done = onAltKey(event);
        } else if (event.key === 'Tab' && inBar) {
            // Leaves from the bar's tab stop, with the menus closed.
            barItems().find((i) => i.tabIndex === 0)?.focus();
            hideMenus(document);
            returnFocus = null;
        } else if (inBar && item.closest('.items')) {
            done = onMenuKey(event, item);
        } else if (inBar) {
            done = onBarKey(event, item);
        } else if (event.key === 'Escape') {
            closeMenus();
        }
        if (!done) return;
        event.preventDefault();
        event.stopPropagation();
    }, true);
}

// Runs `command` on a click of the element `id`, with the menus closed first.
export function onCommand(id, command) {
    document.getElementById(id).addEventListener('click', (event) => {
        event.stopPropagation();
        closeMenus();
        command();
    });
}

// Shows "&Undo Paste Events" with its key letter underlined, keeping the shortcut shown.
export function setMenuText(element, text) {
    const at = text.indexOf('&');
    const kbd = element.querySelector('kbd');
    const label = document.createElement('span');
    label.append(at < 0 ? text : text.slice(0, at));
    if (at >= 0) {
        const letter = document.createElement('u');
        letter.textContent = text[at + 1] ?? '';
        label.append(letter, text.slice(at + 2));
    }
    element.replaceChildren(label);
    if (kbd) element.append(kbd);
}

export function menuEntry(id, text, key) {
    const button = document.createElement('button');
    button.type = 'button';
    button.role = 'menuitem';
    button.tabIndex = -1;
    button.id = id;
    if (key) {
        const kbd = document.createElement('kbd');
        kbd.textContent = key;
        button.append(kbd);
    }
    setMenuText(button, text);
    return button;
}
