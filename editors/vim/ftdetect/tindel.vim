" Tindel quests: *.qst files get the tindel file type.
autocmd BufRead,BufNewFile *.qst setfiletype tindel
