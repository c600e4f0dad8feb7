// Modal message boxes and the pop-up choice lists, as promises.

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
    return new Promise((done) => {
        box.addEventListener('close', () => done(box.returnValue || buttons.at(-1)), { once: true });
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
        if (current >= 0) list.setAttribute('aria-activedescendant', `${list.id}-${current}`);
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
        const onKey = (event) => {
            if (event.key === 'ArrowDown') current = Math.min(entries.length - 1, current + 1);
            else if (event.key === 'ArrowUp') current = Math.max(0, current - 1);
            else if (event.key === 'Enter' || event.key === ' ') return finish(current);
            else if (event.key === 'Escape') { event.stopPropagation(); return finish(-1); }
            else if (event.key !== 'Tab') return; // the keyboard stays with the list
            event.preventDefault();
            event.stopPropagation();
            mark();
        };
        list.addEventListener('click', onClick);
        list.addEventListener('keydown', onKey);
    });
}
