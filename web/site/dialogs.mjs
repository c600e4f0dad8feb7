// Modal message boxes and the pop-up choice lists, as promises.
import { focusBack } from './menus.mjs';

const box = document.getElementById('messageBox');

// Resolves with the label of the button pressed; Escape counts as the last one.
export function messageBox(text, title, buttons = ['OK']) {
    document.getElementById('messageTitle').textContent = title;
    // CR alone breaks a line in our texts.
    document.getElementById('messageText').textContent = text.replace(/\r\n?/g, '\n');
    const row = document.getElementById('messageButtons');
    row.replaceChildren(...buttons.map((label) => {
        const button = document.createElement('button');
        button.value = label;
        button.textContent = label;
        return button;
    }));
    const opener = document.activeElement;
    return new Promise((done) => {
        box.addEventListener('close', () => {
            focusBack(opener);
            done(box.returnValue || buttons.at(-1));
        }, { once: true });
        box.returnValue = '';
        box.showModal();
        row.firstElementChild.focus();
    });
}

// Shows a list under `anchor` with `selected` highlighted; resolves with the index of the
// entry clicked (or chosen with the keys), -1 for Escape. A click elsewhere leaves it
// waiting, as the page stays live; a list already waiting refuses a second wait (-1).
export function chooseFrom(list, entries, selected, anchor) {
    if (!list.hidden) return Promise.resolve(-1);
    list.replaceChildren(...entries.map((entry, i) => {
        const item = document.createElement('li');
        item.role = 'option';
        item.id = `${list.id}-${i}`;
        if (typeof entry === 'string') item.textContent = entry || '\u00a0';
        else item.append(...entry);
        return item;
    }));
    const rect = anchor.getBoundingClientRect();
    list.style.left = `${rect.left + window.scrollX}px`;
    list.style.top = `${rect.bottom + window.scrollY + 2}px`;
    list.tabIndex = -1;
    list.hidden = false;
    let current = selected;
    const mark = () => {
        for (const [i, item] of [...list.children].entries())
            item.setAttribute('aria-selected', String(i === current));
        if (current < 0) return;
        list.setAttribute('aria-activedescendant', `${list.id}-${current}`);
        list.children[current].scrollIntoView({ block: 'nearest' });
    };
    mark();
    list.focus();
    return new Promise((done) => {
        const finish = (index) => {
            list.hidden = true;
            list.removeEventListener('click', onClick);
            list.removeEventListener('keydown', onKey);
            anchor.focus();
            done(index);
        };
        const onClick = (event) => {
            const item = event.target.closest('li');
            if (item) finish([...list.children].indexOf(item));
        };
        // A page is the entries that fit in the list's height, less one, as the desktop's lists take it.
        const page = () => Math.max(1, Math.floor(list.clientHeight / list.firstElementChild.offsetHeight) - 1);
        const moves = { ArrowDown: () => current + 1, ArrowUp: () => current - 1, Home: () => 0, End: () => entries.length - 1,
            PageDown: () => current + page(), PageUp: () => current - page() };
        const onKey = (event) => {
            if (!moves[event.key] && !['Enter', ' ', 'Escape', 'Tab'].includes(event.key)) return;
            // The key ends here, so the opener, which has the keyboard back, does not take it too.
            event.preventDefault();
            event.stopPropagation();
            if (event.key === 'Enter' || event.key === ' ') return finish(current);
            if (event.key === 'Escape') return finish(-1);
            if (moves[event.key]) current = Math.min(entries.length - 1, Math.max(0, moves[event.key]()));
            mark(); // Tab: the keyboard stays with the list
        };
        list.addEventListener('click', onClick);
        list.addEventListener('keydown', onKey);
    });
}
