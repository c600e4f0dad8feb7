// The menu bar: menus open on a click and close on a choice, a click elsewhere or Escape.
// A menu about to open tells its listeners with a "menuopen" event, to fill itself.
// Closed, the menus give the keyboard back to where it was, the grid as a rule.
let returnFocus = null;

function hideMenus(within) {
    for (const menu of within.querySelectorAll('.menu')) {
        menu.querySelector('.items').hidden = true;
        menu.firstElementChild.setAttribute('aria-expanded', 'false');
    }
}

export function closeMenus() {
    const inBar = document.getElementById('menubar').contains(document.activeElement);
    hideMenus(document);
    if (returnFocus && inBar) returnFocus.focus();
    returnFocus = null;
}

// A menu near the right edge of a narrow window opens leftwards, as far as it must.
function keepInView(items) {
    items.style.translate = '';
    const over = items.getBoundingClientRect().right - document.documentElement.clientWidth;
    if (over > 0) items.style.translate = `${-Math.min(over, items.getBoundingClientRect().left)}px`;
}

export function wireMenus() {
    const bar = document.getElementById('menubar');
    const remember = () => { if (!bar.contains(document.activeElement)) returnFocus = document.activeElement; };
    bar.addEventListener('pointerdown', remember, true);
    bar.addEventListener('focusin', remember, true); // before the keyboard moves in
    for (const menu of document.querySelectorAll('.menu')) {
        const opener = menu.firstElementChild;
        opener.addEventListener('click', (event) => {
            event.stopPropagation();
            const items = menu.querySelector('.items');
            const open = items.hidden;
            hideMenus(menu.parentElement.closest('.menu') ?? document);
            if (!open) return;
            menu.dispatchEvent(new Event('menuopen'));
            items.hidden = false;
            keepInView(items);
            opener.setAttribute('aria-expanded', 'true');
            items.querySelector('button:not(:disabled)')?.focus();
        });
    }
    document.addEventListener('click', () => closeMenus());
    document.addEventListener('keydown', (event) => {
        if (event.key === 'Escape') closeMenus();
    });
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
    button.id = id;
    if (key) {
        const kbd = document.createElement('kbd');
        kbd.textContent = key;
        button.append(kbd);
    }
    setMenuText(button, text);
    return button;
}
